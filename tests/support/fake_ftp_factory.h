#pragma once

// The exchange windows make the clients of their sessions through a factory; in the window
// tests each one is a FakeFtpClient on the test's one server.

#include <memory>

#include "gui/exchange/session_worker.h"
#include "support/fake_ftp_client.h"

namespace culvora::testing {

inline gui::FtpClientFactory fakeClients(std::shared_ptr<FakeFtpServer> server)
{
    return [server] { return std::make_unique<FakeFtpClient>(server); };
}

}  // namespace culvora::testing
