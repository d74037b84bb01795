#pragma once

// "frmUpload", "Upload recipe": sends the recipe named in dragRecipe, as an exchange file
// made from the current cookbook, to the exchange's upload folder, where the exchange's
// keepers look at it before it appears in a category. The window connects and sends at once
// when it opens; "Upload" sends again (a new file each time), for example after a failure.
// The transfer runs on the session's own thread, so the window stays painted and can be
// closed while a server keeps it waiting.

#include <QString>
#include <QWidget>

#include "gui/app/app_context.h"
#include "gui/exchange/session_worker.h"

class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace culvora::gui {

// What the window says when it has no connection to send through.
inline const QString kNoConnectionMessage = QStringLiteral(
    "There is no connection to the recipe exchange, so your recipe was not sent. Please close "
    "this window and try again later.");

class UploadWindow : public QWidget {
    Q_OBJECT
public:
    UploadWindow(AppContext& app, const FtpClientFactory& clients, QWidget* parent = nullptr);
    ~UploadWindow() override;

    // Opening: connects, then sends the recipe.
    void start();

    QString statusText() const;
    bool busy() const { return worker_->busy(); }

public slots:
    void upload();  // Command1

signals:
    void statusChanged(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setStatus(const QString& text);
    // Queues the upload of the recipe in dragRecipe, taken from the current cookbook now.
    void queueUpload();

    AppContext& app_;
    SessionWorker* worker_ = nullptr;
    QLabel* recipe_ = nullptr;
    QPushButton* uploadButton_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace culvora::gui
