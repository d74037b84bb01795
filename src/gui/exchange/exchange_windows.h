#pragma once

#include "core/exchange/ftp_client.h"
#include "gui/exchange/session_worker.h"

namespace culvora::gui {

struct AppContext;

// The recipe exchange's windows: "frmDownload" (from the welcome screen) and "frmUpload"
// (from the viewer's "Upload" key and a drop on the browser's upload target). Their sessions
// talk through the clients `clients` makes; a test registers them again with its own.
void registerExchangeWindows(AppContext& app, FtpClientFactory clients = exchange::makeCurlClient);

}  // namespace culvora::gui
