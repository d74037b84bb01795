#include "gui/app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/app/settings.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/accessible_names.h"
#include "gui/app/qt_text.h"
#include "gui/app/unsaved_input.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/clickable_label.h"

namespace culvora::gui {

namespace {

// Windows that work on the current cookbook: while one is open the cookbook must not change.
const std::array<QLatin1String, 6> kCookbookUsers = {forms::kBrowser,      forms::kViewer,
                                                     forms::kNewRecipe,    forms::kEditRecipe,
                                                     forms::kFridgeSearch, forms::kRecipeTypes};

// The banner's wordmark, at its left end; the pictures to the right of it make way for the
// web address.
constexpr int kWordmarkWidth = 330;
constexpr int kAddressMargin = 18;

}  // namespace

// Image1: the banner picture. The wordmark stays at the left; the row of kitchen pictures
// after it is drawn to the right of the web address, so that the address never sits on a
// picture; the strip goes on in the colour of the picture's right edge.
class BannerPicture : public QLabel {
public:
    BannerPicture(QPixmap picture, QWidget* parent) : QLabel(parent), picture_(std::move(picture))
    {
        setObjectName(QStringLiteral("Image1"));
        const QImage image = picture_.toImage();
        fill_ = image.isNull() ? theme::kBanner
                               : image.pixelColor(image.width() - 1, image.height() / 2);
        setFixedHeight(picture_.isNull() ? 48
                                         : qRound(picture_.height() / picture_.devicePixelRatio()));
    }

    // Where the pictures after the wordmark begin again (logical pixels).
    void setPicturesFrom(int x)
    {
        picturesFrom_ = x;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), fill_);
        if (picture_.isNull()) return;
        const qreal ratio = picture_.devicePixelRatio();
        const int wordmark = std::min(kWordmarkWidth, qRound(picture_.width() / ratio));
        const int rest = qRound(picture_.width() / ratio) - wordmark;
        painter.drawPixmap(QRectF(0, 0, wordmark, height()), picture_,
                           QRectF(0, 0, wordmark * ratio, picture_.height()));
        const int from = std::max(picturesFrom_, wordmark);
        // The gap gets the picture's own background, rule and all, from the column just
        // after the wordmark.
        painter.drawPixmap(QRectF(wordmark, 0, from - wordmark, height()), picture_,
                           QRectF(wordmark * ratio, 0, ratio, picture_.height()));
        painter.drawPixmap(QRectF(from, 0, rest, height()), picture_,
                           QRectF(wordmark * ratio, 0, rest * ratio, picture_.height()));
    }

private:
    QPixmap picture_;
    QColor fill_;
    int picturesFrom_ = kWordmarkWidth;
};

MainWindow::MainWindow(ShellState& state, Services& services, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      services_(services),
      mdi_(new QMdiArea(this)),
      registry_(std::make_unique<WindowRegistry>(mdi_)),
      context_{state, services, *registry_, *this}
{
    setObjectName(forms::kMain);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setBackground(theme::kDesk);
    // Windows larger than a small main window stay reachable.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);

    buildMenus();
    buildBanner();
    auto* strip = new QStatusBar(this);
    strip->setObjectName(QStringLiteral("Picture1"));
    strip->setSizeGripEnabled(true);
    setStatusBar(strip);

    // Load sequence: the caption, then the current cookbook.
    setWindowTitle(QStringLiteral("Culvora 1.0"));
    setWindowIcon(loadPicture(state_, QStringLiteral("pics/culvora.png")));
    state_.currentCookbookFile = app::startCookbook(state_.folder);

    connect(registry_.get(), &WindowRegistry::windowsChanged, this,
            &MainWindow::updateCookbookMenu);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::updateCookbookMenu);
    mdi_->viewport()->installEventFilter(this);

    // A comfortable size on any screen: most of it, centred. The window may be made smaller.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 900);
    setMinimumSize(480, 360);
    resize(std::min(1200, screen.width() * 9 / 10), std::min(860, screen.height() * 9 / 10));
    move(screen.center() - rect().center());
}

MainWindow::~MainWindow()
{
    // Sub-windows go before the registry that tracks them.
    disconnect(registry_.get(), nullptr, this, nullptr);
    disconnect(mdi_, nullptr, this, nullptr);
    mdi_->viewport()->removeEventFilter(this);
    QMdiArea* area = std::exchange(mdi_, nullptr);
    delete area;
}

void MainWindow::start()
{
    for (QAction* action : findChildren<QAction*>()) {
        const QString window = action->property("opensWindow").toString();
        if (!window.isEmpty()) action->setEnabled(registry_->hasFactory(window));
    }
    describeControls(this);
    registry_->open(forms::kWelcome);
    updateCookbookMenu();
}

// --- Menus -----------------------------------------------------------------------------------

namespace {

enum ItemFlag { kPlain = 0, kDisabled = 1, kCheckable = 2, kRegistered = 4 };

// One menu item: a separator when `caption` is "-". An item with a window opens it (and is
// greyed out while the program has no such window); an item marked kRegistered runs the work a
// subsystem registered for it (greyed out while there is none); others call their slot.
struct MenuItem {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    QLatin1String window;
    void (MainWindow::*slot)();
    int flags = kPlain;
};

void addItems(MainWindow* main, QMenu* menu, std::initializer_list<MenuItem> items,
              const std::function<void(const QString&)>& openWindow,
              const std::function<void(const QString&)>& runAction = {})
{
    for (const MenuItem& item : items) {
        const QString name = QString::fromLatin1(item.name);
        if (QLatin1String(item.caption) == QLatin1String("-")) {
            menu->addSeparator()->setObjectName(name);
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(name);
        if (!item.shortcut.isEmpty()) action->setShortcut(item.shortcut);
        action->setCheckable(item.flags & kCheckable);
        action->setEnabled(!(item.flags & (kDisabled | kRegistered)));
        if (item.flags & kRegistered) {
            QObject::connect(action, &QAction::triggered, main,
                             [runAction, name] { runAction(name); });
        } else if (!item.window.isEmpty()) {
            const QString window = item.window;
            action->setProperty("opensWindow", window);
            QObject::connect(action, &QAction::triggered, main,
                             [openWindow, window] { openWindow(window); });
        } else if (item.slot) {
            QObject::connect(action, &QAction::triggered, main, item.slot);
        }
    }
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

void MainWindow::openWindow(const QString& name)
{
    registry_->open(name);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    const auto open = [this](const QString& name) { openWindow(name); };
    const QLatin1String none;
    using K = QKeySequence;

    QMenu* file = addMenu(bar, "mnu1", QStringLiteral("&File"));
    addItems(this, file,
             {{"mnu2", "&Open Database", K(Qt::CTRL | Qt::Key_W), none, &MainWindow::openDatabase},
              {"mnu2b", "&Info about database...", {}, none, &MainWindow::showDatabaseInfo},
              {"mnustrecker", "-", {}, none, nullptr},
              {"mnuBackup", "&Backup...", {}, forms::kBackup, nullptr},
              {"mnuRestore", "&Restore from backup\u2026", {}, forms::kRestore, nullptr},
              {"mnustreck", "-", {}, none, nullptr},
              {"mnutips", "&Tips at startup", {}, none, nullptr, kDisabled | kCheckable},
              {"mnuvisanu", "&View tips now", {}, none, nullptr, kDisabled},
              {"mnu6", "-", {}, none, nullptr},
              {"mnu7", "&Exit", K(Qt::CTRL | Qt::Key_X), none, nullptr}},
             open);
    tipsAction_ = findChild<QAction*>(QStringLiteral("mnutips"));
    connect(findChild<QAction*>(QStringLiteral("mnu7")), &QAction::triggered, this,
            &QWidget::close);

    cookbookMenu_ = addMenu(bar, "mnurecept", QStringLiteral("&Cookbook"));
    // The imports are the transfer's work, registered with setMenuAction.
    const char* mealMaster = menus::kImportMealMaster.data();
    const char* cookbook = menus::kImportCookbook.data();
    const char* webPage = menus::kImportWebPage.data();
    addItems(
        this, cookbookMenu_,
        {{mealMaster, "&Import from Meal Master...", {}, none, nullptr, kRegistered},
         {menus::kExportMealMaster.data(), "E&xport to Meal-Master...", {}, none, nullptr,
          kRegistered},
         {"mnuImportStreck", "-", {}, none, nullptr},
         {"mnuvaljreceptbok", "&Cookbooks...", {}, forms::kCookbooks, nullptr},
         {"mnuPapperskorg", "Recently &deleted\u2026", {}, forms::kBin, nullptr},
         {cookbook, "&Import cookbook...", K(Qt::CTRL | Qt::Key_I), none, nullptr, kRegistered},
         {webPage, "Import from &web page...", {}, none, nullptr, kRegistered},
         {"mnudd", "-", {}, none, nullptr},
         {"mnuadd", "&Edit fridge-database...", {}, forms::kFridgeList, nullptr}},
        open, [this](const QString& item) { runMenuAction(item); });

    windowMenu_ = addMenu(bar, "mnuwindows", QStringLiteral("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);

    QMenu* help = addMenu(bar, "mnhelp", QStringLiteral("&Help"));
    addItems(this, help,
             {{"mnuhelpindex", "&Content...", K(Qt::Key_F1), none, &MainWindow::openHelpIndex},
              {"mnuTavendiHEM", "&Culvora's website", {}, none, &MainWindow::openWebSite},
              {"mnuhelpstreck1", "-", {}, none, nullptr},
              {"mnuhelpom", "&About...", K(Qt::CTRL | Qt::Key_O), none, &MainWindow::openAbout}},
             open);

    // The two pop-up menus belong to the menu bar but are never shown in it.
    optionsMenu_ = addMenu(bar, "mnuOptions", QStringLiteral("Options"));
    addItems(
        this, optionsMenu_,
        {{"mnuOptionsGenerateArchive", "&Generate HTML archive...", {}, forms::kArchive, nullptr},
         {"mnuOptionsstreck2", "-", {}, none, nullptr},
         {"mnuOptionsTypes", "&Types of recipes...", {}, forms::kRecipeTypes, nullptr},
         {"mnuOptionsstreck1", "-", {}, none, nullptr},
         {"mnuOptionsHelp", "&Help...", {}, none, &MainWindow::openHelpRecipes}},
        open);
    optionsMenu_->menuAction()->setVisible(false);

    filterMenu_ = addMenu(bar, "mnuFilter", QStringLiteral("&Filter"));
    addItems(this, filterMenu_,
             {{"mnuNoFilter", "&No filter", {}, none, &MainWindow::chooseNoFilter, kCheckable},
              {"mnuNoStreck", "-", {}, none, nullptr}},
             open);
    noFilterAction_ = findChild<QAction*>(QStringLiteral("mnuNoFilter"));
    for (int i = 0; i < drinks::GlassFilter::kGlassCount; ++i) {
        const auto name = drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(i)];
        QAction* glass = filterMenu_->addAction(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        glass->setObjectName(QStringLiteral("glas(%1)").arg(i));
        glass->setCheckable(true);
        connect(glass, &QAction::triggered, this, [this, i] { chooseGlass(i); });
        glassActions_[static_cast<std::size_t>(i)] = glass;
    }
    filterMenu_->menuAction()->setVisible(false);
    syncFilterChecks();
}

void MainWindow::fillWindowMenu()
{
    windowMenu_->clear();
    QAction* cascade = windowMenu_->addAction(QStringLiteral("&Cascade"));
    cascade->setObjectName(QStringLiteral("mnuCascade"));
    connect(cascade, &QAction::triggered, this, &MainWindow::cascadeWindows);
    windowMenu_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        QAction* entry =
            windowMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        entry->setObjectName(QStringLiteral("mnuWindow(%1)").arg(sub->widget()->objectName()));
        entry->setCheckable(true);
        entry->setChecked(sub == mdi_->activeSubWindow());
        const QPointer<QMdiSubWindow> frame = sub;
        connect(entry, &QAction::triggered, this, [this, frame] {
            if (!frame) return;
            if (registry_->kindOf(frame) == WindowKind::Background) {
                showWelcome();
                return;
            }
            frame->showNormal();
            mdi_->setActiveSubWindow(frame);
        });
    }
}

void MainWindow::cascadeWindows()
{
    registry_->cascade();
    layoutWelcome();
}

void MainWindow::showWelcome()
{
    QWidget* welcome = registry_->find(forms::kWelcome);
    if (!welcome) {
        registry_->open(forms::kWelcome);
        return;
    }
    QMdiSubWindow* frame = registry_->subWindowOf(welcome);
    layoutWelcome();
    frame->show();
    // Asked for by name: it comes to the front this once, over the windows opened from it.
    frame->setProperty("culvoraRaiseOnce", true);
    mdi_->setActiveSubWindow(frame);
    // Already the active window, it was not activated and the mark is still there: it would
    // keep the welcome screen in front at the next click on it, over the windows opened later.
    frame->setProperty("culvoraRaiseOnce", false);
    frame->raise();
    welcome->setFocus();
}

// --- Banner ----------------------------------------------------------------------------------

void MainWindow::buildBanner()
{
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->toggleViewAction()->setVisible(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->setStyleSheet(theme::bannerStripStyle());
    addToolBar(Qt::TopToolBarArea, toolbar_);

    // The banner lies on the strip and follows its width (see eventFilter); a placeholder of
    // its height gives the strip its height without pinning the window's width.
    banner_ = new BannerPicture(loadPicture(state_, QStringLiteral("banner.gif")), toolbar_);
    auto* room = new QWidget(toolbar_);
    room->setFixedHeight(banner_->height());
    room->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    room->setMinimumWidth(0);
    toolbar_->addWidget(room);
    toolbar_->installEventFilter(this);
    banner_->raise();

    siteLabel_ = new ClickableLabel(banner_);
    siteLabel_->setObjectName(QStringLiteral("Label1"));
    siteLabel_->setText(QString::fromLatin1(app::kWebSite));
    siteLabel_->setToolTip(QStringLiteral("Click here to visit Culvora's homepage!"));
    siteLabel_->setStyleSheet(theme::bannerAddressStyle());
    siteLabel_->adjustSize();
    connect(siteLabel_, &ClickableLabel::clicked, this, &MainWindow::openWebSite);
}

void MainWindow::layoutBanner()
{
    // Centred in the window, but never over the wordmark at the left.
    const int left = std::max((width() - siteLabel_->width()) / 2, kWordmarkWidth + kAddressMargin);
    siteLabel_->move(left, (banner_->height() - siteLabel_->height()) / 2);
    banner_->setPicturesFrom(left + siteLabel_->width() + kAddressMargin);
}

int MainWindow::bannerHeight() const
{
    return toolbar_ ? toolbar_->height() : 0;
}

// --- Layout ----------------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (mdi_ && watched == mdi_->viewport() && event->type() == QEvent::Resize) layoutWelcome();
    if (watched == toolbar_ && event->type() == QEvent::Resize) {
        banner_->setGeometry(0, 0, toolbar_->width(), banner_->height());
        layoutBanner();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutBanner();
    layoutWelcome();
}

void MainWindow::layoutWelcome()
{
    if (isMinimized() || !registry_) return;
    QWidget* welcome = registry_->find(forms::kWelcome);
    if (!welcome) return;
    if (QMdiSubWindow* sub = registry_->subWindowOf(welcome)) {
        sub->setGeometry(QRect(QPoint(0, 0), mdi_->viewport()->size()));
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (checkedCookbook_) return;
    checkedCookbook_ = true;
    // After the window is on screen, so the message has a parent to sit on.
    QTimer::singleShot(0, this, &MainWindow::checkCurrentCookbook);
}

// --- Shell -----------------------------------------------------------------------------------

void MainWindow::checkCurrentCookbook()
{
    auto usable = app::checkCookbookFile(state_.folder, state_.currentCookbookFile);
    if (usable) return;
    services_.prompter.inform(toQString(usable.error()) +
                                  QStringLiteral(" Please choose the cookbook you want to use."),
                              QStringLiteral("Error"), MessageIcon::Exclamation);
    openCookbooks();
}

void MainWindow::updateCookbookMenu()
{
    if (!registry_ || !cookbookMenu_) return;
    const bool inUse = std::ranges::any_of(
        kCookbookUsers, [this](QLatin1String name) { return registry_->isOpen(name); });
    cookbookMenu_->setEnabled(!inUse);
    cookbookMenu_->menuAction()->setEnabled(!inUse);
}

bool MainWindow::cookbookMenuEnabled() const
{
    return cookbookMenu_->menuAction()->isEnabled();
}

void MainWindow::setMenuAction(const QString& item, std::function<void()> action)
{
    QAction* entry = menuBar()->findChild<QAction*>(item);
    if (!entry) return;
    entry->setEnabled(static_cast<bool>(action));
    if (action) {
        menuActions_.insert(item, std::move(action));
    } else {
        menuActions_.remove(item);
    }
}

void MainWindow::runMenuAction(const QString& item)
{
    // A copy: the work may register the item anew while it runs.
    const auto action = menuActions_.value(item);
    if (action) action();
}

void MainWindow::popupOptionsMenu(const QPoint& globalPos)
{
    optionsMenu_->popup(globalPos);
}

void MainWindow::popupFilterMenu(const QPoint& globalPos)
{
    filterMenu_->popup(globalPos);
}

void MainWindow::onGlassFilterChanged(QObject* context, std::function<void()> handler)
{
    connect(this, &MainWindow::glassFilterChanged, context, std::move(handler));
}

void MainWindow::resetGlassFilter()
{
    glassFilter_.clear();
    filterCaption_ = QStringLiteral("Filter OFF");
    syncFilterChecks();
}

bool MainWindow::tipsAtStartup() const
{
    return tipsAction_->isChecked();
}

// --- Menu actions ----------------------------------------------------------------------------

QString MainWindow::databaseInfoText() const
{
    const auto file = state_.folder.resolve(state_.currentCookbookFile);
    const QString path = file ? QString::fromStdString(file->string()) : QString();
    const QFileInfo info(path);
    const QDateTime changed = info.lastModified();
    return shownForMessage(text::toUpper(state_.currentCookbookFile)) +
           QStringLiteral(" was saved ") +
           QLocale::system().toString(changed.date(), QLocale::LongFormat) +
           QStringLiteral(", at ") + changed.time().toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral(".  Its size is ") + QString::number(info.size()) +
           QStringLiteral(" bytes.");
}

void MainWindow::openDatabase()
{
    const Answer answer = services_.prompter.show(
        {QStringLiteral("WARNING! This requires good knowledge about programming. Editing the "
                        "datbase may cause severe damage to the cookbook."),
         QStringLiteral("Open"), MessageIcon::Stop, MessageButtons::YesNo, Answer::No});
    if (answer != Answer::Yes) return;
    const auto file = store::Cookbook(state_.folder, state_.currentCookbookFile).path();
    if (!file) {
        services_.prompter.inform(toQString(file.error()), QStringLiteral("Error"),
                                  MessageIcon::Exclamation);
        return;
    }
    const QString path = QString::fromStdString(file->string());
    if (!services_.opener.openInTextEditor(path)) {
        services_.prompter.inform(
            QStringLiteral("No text editor could be started for \"%1\". Install a text editor "
                           "(for example gedit or mousepad), or set the VISUAL variable to the "
                           "editor you use, and try again.")
                .arg(path),
            QStringLiteral("Open"), MessageIcon::Exclamation);
    }
}

void MainWindow::showDatabaseInfo()
{
    if (auto usable = app::checkCookbookFile(state_.folder, state_.currentCookbookFile); !usable) {
        services_.prompter.inform(toQString(usable.error()), QStringLiteral("Info"),
                                  MessageIcon::Exclamation);
        return;
    }
    services_.prompter.inform(databaseInfoText(), QStringLiteral("Info"), MessageIcon::Exclamation);
}

void MainWindow::openHelpIndex()
{
    services_.opener.openDocument(helpPage(state_, "index.html"));
}

void MainWindow::openHelpRecipes()
{
    services_.opener.openDocument(helpPage(state_, "recipes.html"));
}

void MainWindow::openWebSite()
{
    services_.opener.openDocument(QString::fromLatin1(app::kWebSite));
}

void MainWindow::openAbout()
{
    registry_->open(forms::kAbout);
}

void MainWindow::openCookbooks()
{
    registry_->open(forms::kCookbooks);
}

void MainWindow::chooseGlass(int index)
{
    glassFilter_.toggle(index);
    filterCaption_ = QStringLiteral("Filter ON");
    syncFilterChecks();
    emit glassFilterChanged();
}

void MainWindow::chooseNoFilter()
{
    resetGlassFilter();
    emit glassFilterChanged();
}

void MainWindow::syncFilterChecks()
{
    noFilterAction_->setChecked(glassFilter_.noFilter());
    for (int i = 0; i < drinks::GlassFilter::kGlassCount; ++i) {
        glassActions_[static_cast<std::size_t>(i)]->setChecked(glassFilter_.isChecked(i));
    }
}

// --- Exit ------------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Exit, Ctrl+X and the window's close button all come here: the program ends only when no
    // window would lose what was typed in it.
    if (!settleUnsavedInput()) {
        event->ignore();
        return;
    }
    writeSettingsAtExit();
    mdi_->closeAllSubWindows();
    event->accept();
}

bool MainWindow::settleUnsavedInput()
{
    struct Asked {
        QPointer<QWidget> window;
        Answer answer;
    };
    std::vector<Asked> answers;
    for (QMdiSubWindow* frame : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        QWidget* window = frame->widget();
        if (!holdsUnsavedInput(window)) continue;
        // The window asked about is the one in front, so the cook sees what is meant.
        if (frame->isMinimized()) frame->showNormal();
        mdi_->setActiveSubWindow(frame);
        const Answer answer =
            unsavedInputOf(window)->askAboutInput(services_.prompter, window->windowTitle());
        if (answer != Answer::Save && answer != Answer::Discard && answer != Answer::Close) {
            return false;
        }
        answers.push_back({window, answer});
    }
    // Every window has its answer: the saves first, as one that does not go through stops the
    // exit before anything is let go.
    for (const Asked& asked : answers) {
        if (asked.answer != Answer::Save || !asked.window) continue;
        if (!unsavedInputOf(asked.window)->saveAndClose()) return false;
    }
    for (const Asked& asked : answers) {
        if (asked.answer == Answer::Save || !asked.window) continue;
        unsavedInputOf(asked.window)->letInputGo();
        registry_->closeWindow(asked.window);
    }
    return true;
}

void MainWindow::commitData(const SessionEnd& session)
{
    const bool anyAtStake = std::ranges::any_of(mdi_->subWindowList(), [](QMdiSubWindow* frame) {
        return holdsUnsavedInput(frame->widget());
    });
    if (!anyAtStake) return;
    // Without leave to ask, the input stays and the logout is turned down where the desktop
    // allows it.
    if (!session.allowsInteraction()) {
        session.cancel();
        return;
    }
    // Turned down, the asking stays open until the session hears of it: a release first would
    // tell the session that the logout may go on.
    if (!settleUnsavedInput()) {
        session.cancel();
        return;
    }
    session.release();
}

void MainWindow::writeSettingsAtExit()
{
    if (settingsWritten_) return;
    settingsWritten_ = true;
    // Line 1 goes back as it was read; a missing or empty file gets the cookbook in use.
    const auto settings = app::readSettings(state_.folder);
    const std::string first = settings.found ? settings.cookbookFile : state_.currentCookbookFile;
    auto written = app::writeSettings(state_.folder, first, tipsAtStartup());
    if (!written) {
        services_.prompter.inform(toQString(written.error()), QStringLiteral("Error"),
                                  MessageIcon::Exclamation);
    }
}

}  // namespace culvora::gui
