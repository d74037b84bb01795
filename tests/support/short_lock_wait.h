#pragma once

// Shortens how long a writer waits for the data folder's lock while it is in scope, and puts
// the usual wait back however the scope is left: a failing assertion that returns early must
// not leave every later test of the program giving up after a fraction of a second.

#include <chrono>

#include "core/files/files.h"

namespace culvora::testing {

class ShortLockWait {
public:
    explicit ShortLockWait(std::chrono::milliseconds wait) : previous_(FolderLock::wait())
    {
        FolderLock::setWait(wait);
    }
    ~ShortLockWait() { FolderLock::setWait(previous_); }
    ShortLockWait(const ShortLockWait&) = delete;
    ShortLockWait& operator=(const ShortLockWait&) = delete;

private:
    std::chrono::milliseconds previous_;
};

}  // namespace culvora::testing
