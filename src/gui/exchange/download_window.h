#pragma once

// "frmDownload", "Download recipes": the categories of the recipe exchange as a tree, the
// recipes of the chosen category, and a double click on a recipe to put it into a cookbook.
//
// The window connects when it opens and fetches the category list (when that fails, a double
// click on "Network" tries again); a double click on a category fetches its recipe list; the
// destination chooser starts Timer1, which fetches the recipe, asks for another name while the
// cookbook already has one of that name, appends it and offers its new ingredient words. Every
// transfer runs on the session's own thread: the window keeps painting, and closing it ends a
// transfer that hangs.

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "core/exchange/exchange_formats.h"
#include "gui/app/app_context.h"
#include "gui/exchange/session_worker.h"

class QLabel;
class QStatusBar;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace culvora::gui {

class DownloadWindow : public QWidget {
    Q_OBJECT
public:
    DownloadWindow(AppContext& app, const FtpClientFactory& clients, QWidget* parent = nullptr);
    ~DownloadWindow() override;

    // Opening: connects and fetches the category list.
    void start();

    QString statusText() const;
    // A transfer is queued or running, or its result not yet shown.
    bool busy() const { return worker_->busy(); }
    // Timer1: the destination chooser starts it; it runs the download once.
    QTimer* downloadTimer() const { return downloadTimer_; }
    const std::string& currentFolder() const { return currentFolder_; }

public slots:
    // A double click on the tree: a category lists its recipes; "Network" connects again when
    // the categories did not come.
    void chooseCategory(QTreeWidgetItem* node);
    void chooseRecipe(QTreeWidgetItem* item);  // a double click on the list
    void downloadSelected();                   // Timer1

signals:
    void statusChanged(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct IndexFetch;
    struct RecipeFetch;

    void setStatus(const QString& text);
    // Connects (again) and fetches the category list.
    void connectToExchange();
    // The category list did not come: says so, and how to try again (and, after a timeout,
    // what else a cook can do).
    void categoriesMissing(bool connected, const QString& advice);
    void showMessages(const QString& note = {});
    void showCategories(const exchange::CategoryList& list);
    void showRecipes(const IndexFetch& fetch);
    void addRecipe(const RecipeFetch& fetch);
    // After a transfer that did not arrive: idle, or without a connection now.
    void transferFailed(bool connected);

    AppContext& app_;
    SessionWorker* worker_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* messages_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* downloadTimer_ = nullptr;

    // The server's message block, as it is shown.
    QString serverMessage_;
    // Entry n of network.txt is categories_[n - 1], its node nodes_[n - 1].
    std::vector<exchange::Category> categories_;
    std::vector<QTreeWidgetItem*> nodes_;
    std::string currentFolder_;
};

}  // namespace culvora::gui
