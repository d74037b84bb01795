#include "gui/app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <utility>

#include "core/app/settings.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"
#include "gui/app/pictures.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_catalog.h"
#include "gui/app/window_registry.h"
#include "gui/store/destination_chooser.h"

namespace culvora::gui {

namespace {

// Windows that work on the current cookbook: while one is open the cookbook must not change.
const QStringList kCookbookUsers = {QStringLiteral("recept"),     QStringLiteral("Visa"),
                                    QStringLiteral("NyttRecept"), QStringLiteral("RedigeraRecept"),
                                    QStringLiteral("kylen"),      QStringLiteral("nytyp")};

// The banner picture at the left, the strip continued in the colour of its right edge.
class BannerPicture : public QLabel {
public:
    BannerPicture(QPixmap picture, QWidget* parent) : QLabel(parent), picture_(std::move(picture))
    {
        setObjectName(QStringLiteral("Image1"));
        const QImage image = picture_.toImage();
        fill_ = image.isNull() ? QColor(0x8c, 0x2f, 0x1c)
                               : image.pixelColor(image.width() - 1, image.height() / 2);
        setFixedHeight(picture_.isNull() ? 48
                                         : qRound(picture_.height() / picture_.devicePixelRatio()));
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), fill_);
        if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
    QColor fill_;
};

class ClickableLabel : public QLabel {
public:
    ClickableLabel(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent),
          onClick_(std::move(onClick))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            onClick_();
        }
    }

private:
    std::function<void()> onClick_;
};

QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

}  // namespace

MainWindow::MainWindow(ShellState& state, Services& services, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      services_(services),
      mdi_(new QMdiArea(this)),
      registry_(std::make_unique<WindowRegistry>(mdi_)),
      context_{state, services, *registry_, *this}
{
    setObjectName(QStringLiteral("Huvud"));
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setBackground(QColor(0xe9, 0xe2, 0xd0));
    setCentralWidget(mdi_);

    importTimer_ = new QTimer(this);
    importTimer_->setObjectName(QStringLiteral("Timer1"));
    importTimer_->setSingleShot(true);
    connect(importTimer_, &QTimer::timeout, this, [this] {
        importTimer_->stop();
        if (importOperation_) importOperation_();
    });

    buildMenus();
    buildBanner();
    auto* strip = new QStatusBar(this);
    strip->setObjectName(QStringLiteral("Picture1"));
    strip->setSizeGripEnabled(true);
    setStatusBar(strip);

    // Load sequence: the caption, then the current cookbook from tavendi.ini.
    setWindowTitle(QStringLiteral("Culvora 1.0"));
    setWindowIcon(loadPicture(state_.folder, QStringLiteral("pics/culvora.png")));
    state_.currentCookbookFile = app::startCookbook(state_.folder);

    connect(registry_.get(), &WindowRegistry::windowsChanged, this,
            &MainWindow::updateCookbookMenu);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::updateCookbookMenu);
    mdi_->viewport()->installEventFilter(this);

    registerAllWindows(context_);
    for (QAction* action : findChildren<QAction*>()) {
        const QString window = action->property("opensWindow").toString();
        if (!window.isEmpty()) action->setEnabled(registry_->hasFactory(window));
    }
    registry_->open(QStringLiteral("welcome"));
    updateCookbookMenu();
    // A comfortable size on any screen: most of it, centred.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 900);
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

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnu1"));
    connect(
        addItem(file, "mnu2", QStringLiteral("&Open Database"), QKeySequence(Qt::CTRL | Qt::Key_W)),
        &QAction::triggered, this, &MainWindow::openDatabase);
    connect(addItem(file, "mnu2b", QStringLiteral("&Info about database...")), &QAction::triggered,
            this, &MainWindow::showDatabaseInfo);
    addSeparator(file, "mnustrecker");
    QAction* backup = addItem(file, "mnuBackup", QStringLiteral("&Backup..."));
    backup->setProperty("opensWindow", QStringLiteral("frmBackup"));
    connect(backup, &QAction::triggered, this,
            [this] { registry_->open(QStringLiteral("frmBackup")); });
    addSeparator(file, "mnustreck");
    tipsAction_ = addItem(file, "mnutips", QStringLiteral("&Tips at startup"));
    tipsAction_->setCheckable(true);
    tipsAction_->setChecked(false);
    tipsAction_->setEnabled(false);
    addItem(file, "mnuvisanu", QStringLiteral("&View tips now"))->setEnabled(false);
    addSeparator(file, "mnu6");
    connect(addItem(file, "mnu7", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X)),
            &QAction::triggered, this, &QWidget::close);

    cookbookMenu_ = bar->addMenu(QStringLiteral("&Cookbook"));
    cookbookMenu_->setObjectName(QStringLiteral("mnurecept"));
    // The Meal-Master import asks for the destination first; the chooser starts Timer1.
    importAction_ =
        addItem(cookbookMenu_, "mnuImport", QStringLiteral("&Import from Meal Master..."));
    importAction_->setEnabled(false);
    connect(importAction_, &QAction::triggered, this, [this] {
        if (importOperation_) openDestinationChooser(context_, ChooserMode::Import, importTimer_);
    });
    addSeparator(cookbookMenu_, "mnuImportStreck");
    QAction* books = addItem(cookbookMenu_, "mnuvaljreceptbok", QStringLiteral("&Cookbooks..."));
    books->setProperty("opensWindow", QStringLiteral("Valj"));
    connect(books, &QAction::triggered, this, &MainWindow::openCookbooks);
    importBookAction_ = addItem(cookbookMenu_, "mnu4", QStringLiteral("&Import cookbook..."),
                                QKeySequence(Qt::CTRL | Qt::Key_I));
    importBookAction_->setEnabled(false);
    connect(importBookAction_, &QAction::triggered, this, [this] {
        if (importBookOperation_) importBookOperation_();
    });
    addSeparator(cookbookMenu_, "mnudd");
    QAction* fridge = addItem(cookbookMenu_, "mnuadd", QStringLiteral("&Edit fridge-database..."));
    fridge->setProperty("opensWindow", QStringLiteral("listan"));
    connect(fridge, &QAction::triggered, this,
            [this] { registry_->open(QStringLiteral("listan")); });

    windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
    windowMenu_->setObjectName(QStringLiteral("mnuwindows"));
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
        windowMenu_->clear();
        addItem(windowMenu_, "mnuCascade", QStringLiteral("&Cascade"));
        connect(windowMenu_->actions().constLast(), &QAction::triggered, mdi_,
                &QMdiArea::cascadeSubWindows);
        windowMenu_->addSeparator();
        int number = 1;
        for (QMdiSubWindow* sub : mdi_->subWindowList()) {
            QAction* entry = windowMenu_->addAction(
                QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
            entry->setCheckable(true);
            entry->setChecked(sub == mdi_->activeSubWindow());
            connect(entry, &QAction::triggered, this, [this, sub] {
                sub->showNormal();
                mdi_->setActiveSubWindow(sub);
            });
        }
    });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnhelp"));
    connect(addItem(help, "mnuhelpindex", QStringLiteral("&Content..."), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::openHelpIndex);
    connect(addItem(help, "mnuTavendiHEM", QStringLiteral("&Culvora's website")),
            &QAction::triggered, this, &MainWindow::openWebSite);
    addSeparator(help, "mnuhelpstreck1");
    connect(
        addItem(help, "mnuhelpom", QStringLiteral("&About..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
        &QAction::triggered, this, &MainWindow::openAbout);

    // The two pop-up menus belong to the menu bar but are never shown in it.
    optionsMenu_ = bar->addMenu(QStringLiteral("Options"));
    optionsMenu_->setObjectName(QStringLiteral("mnuOptions"));
    QAction* archive = addItem(optionsMenu_, "mnuOptionsGenerateArchive",
                               QStringLiteral("&Generate HTML archive..."));
    archive->setProperty("opensWindow", QStringLiteral("frmGenWiz"));
    connect(archive, &QAction::triggered, this,
            [this] { registry_->open(QStringLiteral("frmGenWiz")); });
    addSeparator(optionsMenu_, "mnuOptionsstreck2");
    QAction* types =
        addItem(optionsMenu_, "mnuOptionsTypes", QStringLiteral("&Types of recipes..."));
    types->setProperty("opensWindow", QStringLiteral("nytyp"));
    connect(types, &QAction::triggered, this, [this] { registry_->open(QStringLiteral("nytyp")); });
    addSeparator(optionsMenu_, "mnuOptionsstreck1");
    connect(addItem(optionsMenu_, "mnuOptionsHelp", QStringLiteral("&Help...")),
            &QAction::triggered, this, &MainWindow::openHelpRecipes);
    optionsMenu_->menuAction()->setVisible(false);

    filterMenu_ = bar->addMenu(QStringLiteral("&Filter"));
    filterMenu_->setObjectName(QStringLiteral("mnuFilter"));
    noFilterAction_ = addItem(filterMenu_, "mnuNoFilter", QStringLiteral("&No filter"));
    noFilterAction_->setCheckable(true);
    connect(noFilterAction_, &QAction::triggered, this, &MainWindow::chooseNoFilter);
    addSeparator(filterMenu_, "mnuNoStreck");
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

void MainWindow::buildBanner()
{
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->toggleViewAction()->setVisible(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->setStyleSheet(QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }"));
    addToolBar(Qt::TopToolBarArea, toolbar_);

    banner_ = new BannerPicture(loadPicture(state_.folder, QStringLiteral("banner.gif")), toolbar_);
    toolbar_->addWidget(banner_);

    siteLabel_ = new ClickableLabel([this] { openWebSite(); }, banner_);
    siteLabel_->setObjectName(QStringLiteral("Label1"));
    siteLabel_->setText(QString::fromLatin1(kWebSite));
    siteLabel_->setCursor(Qt::PointingHandCursor);
    siteLabel_->setToolTip(QStringLiteral("Click here to visit Culvora's homepage!"));
    siteLabel_->setStyleSheet(
        QStringLiteral("QLabel { color: #8c2f1c; background: #fffaf0; border: 1px solid #e2cfa8;"
                       " border-radius: 10px; padding: 2px 12px; font-size: 10pt; }"
                       " QLabel:hover { text-decoration: underline; background: #ffffff; }"));
    siteLabel_->adjustSize();
}

int MainWindow::bannerHeight() const
{
    return toolbar_ ? toolbar_->height() : 0;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (mdi_ && watched == mdi_->viewport() && event->type() == QEvent::Resize) layoutWelcome();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The banner spans the window; the address stays centred on it.
    banner_->setFixedWidth(width());
    siteLabel_->move((width() - siteLabel_->width()) / 2,
                     (banner_->height() - siteLabel_->height()) / 2);
    layoutWelcome();
}

void MainWindow::layoutWelcome()
{
    if (isMinimized() || !registry_) return;
    QWidget* welcome = registry_->find(QStringLiteral("welcome"));
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
    bool inUse = false;
    for (const QString& name : kCookbookUsers) inUse = inUse || registry_->isOpen(name);
    cookbookMenu_->setEnabled(!inUse);
    cookbookMenu_->menuAction()->setEnabled(!inUse);
}

bool MainWindow::cookbookMenuEnabled() const
{
    return cookbookMenu_->menuAction()->isEnabled();
}

void MainWindow::setImportOperation(std::function<void()> operation)
{
    importOperation_ = std::move(operation);
    importAction_->setEnabled(static_cast<bool>(importOperation_));
}

void MainWindow::setImportCookbookOperation(std::function<void()> operation)
{
    importBookOperation_ = std::move(operation);
    importBookAction_->setEnabled(static_cast<bool>(importBookOperation_));
}

void MainWindow::popupOptionsMenu(const QPoint& globalPos)
{
    optionsMenu_->popup(globalPos);
}

bool MainWindow::tipsAtStartup() const
{
    return tipsAction_->isChecked();
}

QString MainWindow::databaseInfoText() const
{
    const auto file = state_.folder.resolve(state_.currentCookbookFile);
    const QString path = file ? QString::fromStdString(file->string()) : QString();
    const QFileInfo info(path);
    const QDateTime changed = info.lastModified();
    return fromCp(text::toUpper(state_.currentCookbookFile)) + QStringLiteral(" was saved ") +
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
    services_.opener.openInTextEditor(QString::fromStdString(file->string()));
}

void MainWindow::showDatabaseInfo()
{
    if (!state_.folder.exists(state_.currentCookbookFile)) {
        services_.prompter.inform(QStringLiteral("The cookbook file \"%1\" does not exist.")
                                      .arg(fromCp(state_.currentCookbookFile)),
                                  QStringLiteral("Info"), MessageIcon::Exclamation);
        return;
    }
    services_.prompter.inform(databaseInfoText(), QStringLiteral("Info"), MessageIcon::Exclamation);
}

void MainWindow::openHelpIndex()
{
    services_.opener.openDocument(
        QString::fromStdString((state_.folder.path() / "help" / "index.html").string()));
}

void MainWindow::openHelpRecipes()
{
    services_.opener.openDocument(
        QString::fromStdString((state_.folder.path() / "help" / "recipes.html").string()));
}

void MainWindow::openWebSite()
{
    services_.opener.openDocument(QString::fromLatin1(kWebSite));
}

void MainWindow::openAbout()
{
    if (QWidget* about = registry_->open(QStringLiteral("om"))) {
        if (QMdiSubWindow* sub = registry_->subWindowOf(about)) sub->showNormal();
    }
}

void MainWindow::openCookbooks()
{
    registry_->open(QStringLiteral("Valj"));
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
    glassFilter_.clear();
    filterCaption_ = QStringLiteral("Filter OFF");
    syncFilterChecks();
    emit glassFilterChanged();
}

void MainWindow::syncFilterChecks()
{
    noFilterAction_->setChecked(glassFilter_.noFilter());
    for (int i = 0; i < drinks::GlassFilter::kGlassCount; ++i) {
        glassActions_[static_cast<std::size_t>(i)]->setChecked(glassFilter_.isChecked(i));
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    writeSettingsAtExit();
    mdi_->closeAllSubWindows();
    event->accept();
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
