#pragma once

// One exchange window's FTP session, run on a thread of its own. The session's calls block
// until the server answers (or a time limit runs out), so they never run on the thread that
// paints the windows: a window queues jobs here, and what a job finds is handed back to the
// window's thread. The session's messages and its question whether to close the connection
// are shown through the Prompter on the window's thread while the job waits for the answer.
//
// stop() (the window closing) cancels the running call, drops the jobs not yet started,
// closes the session and waits for the thread, which ends at once: nothing is asked any more
// and nothing more is handed back.

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/exchange/ftp_client.h"
#include "core/exchange/ftp_session.h"

namespace culvora::gui {

class Prompter;

// Makes the FTP client a window's session talks through: libcurl's in the program, one in
// memory in the tests.
using FtpClientFactory = std::function<std::unique_ptr<exchange::FtpClient>()>;

// The application's title, on the session's message boxes.
inline const QString kSessionTitle = QStringLiteral("Culvora");

// The plain sentence for the session's last failure (a server too slow, a file too large), empty
// when the error report says all there is; and a window's own text with it added.
QString adviceAfter(const exchange::FtpSession& session);
QString withAdvice(const QString& text, const QString& advice);

class SessionWorker : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void(exchange::FtpSession&)>;

    SessionWorker(Prompter& prompter, const FtpClientFactory& clients, QObject* parent = nullptr);
    ~SessionWorker() override;

    // Queues a job for the session's thread; `then`, when given, runs on the window's thread
    // after it (not after stop()).
    void run(Job job, std::function<void()> then = {});
    // From a job: runs `step` on the window's thread, in the order posted (not after stop()).
    void post(std::function<void()> step);

    // True from run() until the last queued job's `then` has run.
    bool busy() const { return pending_ > 0; }

    void stop();
    bool stopped() const { return stopped_; }

signals:
    // The first job is queued while none was.
    void busyStarted();
    // The last queued job has finished, its `then` included.
    void idle();

private:
    class Prompts;
    void loop();
    // On the session's thread: the window's thread shows the box; false when stopped.
    bool ask(const QString& text, bool yesNo);

    Prompter& prompter_;
    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<exchange::FtpSession> session_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool quit_ = false;  // guarded by mutex_

    int pending_ = 0;       // window's thread only
    bool stopped_ = false;  // window's thread only
    std::thread thread_;
};

}  // namespace culvora::gui
