#pragma once

// Holds the data folder's lock from another process for as long as the object lives: what the
// program sees while a second copy of it, or culvora-cli, is in the middle of a change. Pair
// it with ShortLockWait, or every refused write waits the full few seconds first.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "core/files/files.h"

namespace culvora::testing {

class LockHeldElsewhere {
public:
    explicit LockHeldElsewhere(const std::filesystem::path& folder)
    {
        const std::string file = (folder / std::string(kLockFile)).string();
        int ready[2];
        int done[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        if (::pipe2(done, O_CLOEXEC) != 0) {
            ::close(ready[0]);
            ::close(ready[1]);
            return;
        }
        child_ = ::fork();
        if (child_ == 0) {
            // System calls only from here on: the test program may have threads (Qt has), and
            // a lock or an allocator one of them held is never let go in the child.
            ::close(ready[0]);
            ::close(done[1]);
            const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 1 : 0;
            if (::write(ready[1], &locked, 1) != 1) ::_exit(1);
            // Until the test lets go, or ends.
            char byte = 0;
            ssize_t got = 0;
            do {
                got = ::read(done[0], &byte, 1);
            } while (got < 0 && errno == EINTR);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(done[0]);
        done_ = done[1];
        char locked = 0;
        held_ = child_ > 0 && ::read(ready[0], &locked, 1) == 1 && locked == 1;
        ::close(ready[0]);
    }
    ~LockHeldElsewhere() { release(); }
    LockHeldElsewhere(const LockHeldElsewhere&) = delete;
    LockHeldElsewhere& operator=(const LockHeldElsewhere&) = delete;

    // True once the other process holds the lock.
    bool held() const { return held_; }

    // The other process lets go and ends.
    void release()
    {
        if (done_ >= 0) ::close(done_);
        done_ = -1;
        if (child_ > 0) {
            int status = 0;
            ::waitpid(child_, &status, 0);
        }
        child_ = -1;
        held_ = false;
    }

private:
    pid_t child_ = -1;
    int done_ = -1;
    bool held_ = false;
};

}  // namespace culvora::testing
