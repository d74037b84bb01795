#include "gui/exchange/session_worker.h"

#include <QMetaObject>

#include "core/exchange/session_failure.h"
#include "gui/app/services.h"

namespace culvora::gui {

class SessionWorker::Prompts : public exchange::SessionPrompts {
public:
    explicit Prompts(SessionWorker& worker) : worker_(worker) {}
    void message(const std::string& text) override
    {
        worker_.ask(QString::fromStdString(text), false);
    }
    bool askYesNo(const std::string& text) override
    {
        return worker_.ask(QString::fromStdString(text), true);
    }

private:
    SessionWorker& worker_;
};

QString adviceAfter(const exchange::FtpSession& session)
{
    const std::string_view advice = exchange::failureAdvice(session.lastError());
    return QString::fromUtf8(advice.data(), static_cast<qsizetype>(advice.size()));
}

QString withAdvice(const QString& text, const QString& advice)
{
    return advice.isEmpty() ? text : text + QLatin1Char(' ') + advice;
}

SessionWorker::SessionWorker(Prompter& prompter, const FtpClientFactory& clients, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      prompts_(std::make_unique<Prompts>(*this)),
      session_(std::make_unique<exchange::FtpSession>(clients(), *prompts_))
{
    thread_ = std::thread([this] { loop(); });
}

SessionWorker::~SessionWorker()
{
    stop();
}

void SessionWorker::run(Job job, std::function<void()> then)
{
    if (stopped_) return;
    if (pending_++ == 0) emit busyStarted();
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(
            [this, job = std::move(job), then = std::move(then)](exchange::FtpSession& session) {
                job(session);
                post([this, then] {
                    if (then) then();
                    if (--pending_ == 0) emit idle();
                });
            });
    }
    wake_.notify_all();
}

void SessionWorker::post(std::function<void()> step)
{
    // Queued to this object: a step posted while the window closes is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this, step = std::move(step)] {
            if (!stopped_) step();
        },
        Qt::QueuedConnection);
}

void SessionWorker::stop()
{
    if (stopped_) return;
    stopped_ = true;
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
        jobs_.push_back([](exchange::FtpSession& session) { session.CloseSession(); });
        quit_ = true;
    }
    // The running call ends now; the session asks nothing more, so the thread is not left
    // waiting for an answer that will never come.
    session_->cancel();
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SessionWorker::loop()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job(*session_);
    }
}

bool SessionWorker::ask(const QString& text, bool yesNo)
{
    struct Reply {
        bool done = false;
        bool yes = false;
    };
    auto reply = std::make_shared<Reply>();
    {
        std::lock_guard lock(mutex_);
        if (quit_) return false;
    }
    post([this, reply, text, yesNo] {
        // The question has no icon, and its default is the box's first button.
        const Message box{text, kSessionTitle, MessageIcon::None,
                          yesNo ? MessageButtons::YesNo : MessageButtons::Ok,
                          yesNo ? Answer::Yes : Answer::Ok};
        const bool yes = prompter_.show(box) == Answer::Yes;
        {
            std::lock_guard lock(mutex_);
            reply->done = true;
            reply->yes = yes;
        }
        wake_.notify_all();
    });
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return reply->done || quit_; });
    return reply->done && reply->yes;
}

}  // namespace culvora::gui
