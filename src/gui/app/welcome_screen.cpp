#include "gui/app/welcome_screen.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include "gui/app/main_window.h"
#include "gui/app/pictures.h"
#include "gui/app/window_catalog.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

// The menu artwork and where its tiles and the board's buttons lie on it.
constexpr QSize kMenuSize(640, 480);
constexpr QSize kTileSize(180, 130);
constexpr std::array<QPoint, WelcomeScreen::kPictureButtons> kTiles = {
    QPoint(30, 95),  QPoint(230, 95),  QPoint(430, 95),
    QPoint(30, 245), QPoint(230, 245), QPoint(430, 245)};
constexpr QSize kFunctionSize(60, 60);
constexpr int kFunctionLeft = 110;
constexpr int kFunctionSpacing = 90;
constexpr int kFunctionTop = 402;

struct PictureButton {
    const char* tip;
    const char* window;
};
const std::array<PictureButton, WelcomeScreen::kPictureButtons> kPictureButtonTable = {{
    {"Find recipes that you can cook", "kylen"},
    {"View available drinks", "drinkar"},
    {"View a ingredient's nutrition and data", "Indx"},
    {"Search recipes by cooking time and recipe type", "S\xC3\xB6k"},
    {"View available recipes", "recept"},
    {"Calculate nutrition values and calories", "cal"},
}};
// The nutrition viewer is a large grid: it opens maximised.
constexpr int kMaximisedPictureButton = 2;

const std::array<const char*, WelcomeScreen::kFunctionButtons> kFunctionCaptions = {
    "Organize cookbooks", "Compose weekly menu", "Download recipes",
    "Discuss food with other users", "Create backup"};

const QColor kCream(0xfb, 0xf5, 0xe6);
const QColor kBrown(0x8a, 0x5a, 0x32);
const QColor kRed(0xc0, 0x3b, 0x2b);
const QColor kInk(0x4a, 0x24, 0x18);

QRect tileRect(int index)
{
    return {kTiles[static_cast<std::size_t>(index)], kTileSize};
}

QRect functionRect(int index)
{
    return {QPoint(kFunctionLeft + index * kFunctionSpacing, kFunctionTop), kFunctionSize};
}

// What the menu looks like when tavendi1.gif is missing: the same tiles, named, and the board.
QPixmap plainMenu()
{
    QPixmap pixmap(kMenuSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(0, 0, kMenuSize.width(), kMenuSize.height()), 14, 14);
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(0, 0, kMenuSize.width(), 78), 14, 14);
    p.drawRect(QRectF(0, 40, kMenuSize.width(), 38));
    QFont title = p.font();
    title.setPointSizeF(20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(kCream);
    p.drawText(QRect(0, 0, kMenuSize.width(), 78), Qt::AlignCenter, QStringLiteral("Culvora"));
    QFont tileFont = p.font();
    tileFont.setPointSizeF(10);
    tileFont.setBold(true);
    p.setFont(tileFont);
    for (int i = 0; i < WelcomeScreen::kPictureButtons; ++i) {
        const QRectF tile = QRectF(tileRect(i)).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(QColor(0xe2, 0xcf, 0xa8), 1.2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(tile, 10, 10);
        p.setPen(kInk);
        p.drawText(tile.adjusted(14, 10, -14, -10), Qt::AlignCenter | Qt::TextWordWrap,
                   QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(i)].tip));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0xae, 0x7c));
    p.drawRoundedRect(QRectF(90, 396, 470, 72), 12, 12);
    return pixmap;
}

// A function button's picture when its file is missing: a tile with the first word of its
// caption.
QPixmap plainFunctionPicture(int index, bool highlighted)
{
    QPixmap pixmap(kFunctionSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(highlighted ? QColor(0xd9, 0x8c, 0x2b) : kBrown, highlighted ? 3 : 1.5));
    p.setBrush(highlighted ? QColor(0xff, 0xf4, 0xd6) : kCream);
    p.drawRoundedRect(QRectF(2, 2, 56, 56), 10, 10);
    QFont font = p.font();
    font.setPointSizeF(7.5);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    const QString caption = QString::fromUtf8(kFunctionCaptions[static_cast<std::size_t>(index)]);
    p.drawText(QRectF(2, 2, 56, 56), Qt::AlignCenter, caption.section(QLatin1Char(' '), 0, 0));
    return pixmap;
}

// GVBox1: the menu artwork. The mouse on it, away from the buttons, ends every highlight.
class MenuBox : public QWidget {
public:
    MenuBox(QPixmap picture, std::function<void()> onMove, std::function<bool(int)> tileAvailable,
            QWidget* parent)
        : QWidget(parent),
          picture_(std::move(picture)),
          onMove_(std::move(onMove)),
          tileAvailable_(std::move(tileAvailable))
    {
        setObjectName(QStringLiteral("GVBox1"));
        if (picture_.isNull()) picture_ = plainMenu();
        setFixedSize(picture_.deviceIndependentSize().toSize());
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture_);
        // A screen this program does not have yet is shown faded, so nobody waits for it.
        for (int i = 0; i < WelcomeScreen::kPictureButtons; ++i) {
            if (!tileAvailable_(i)) painter.fillRect(tileRect(i), QColor(0xfb, 0xf5, 0xe6, 170));
        }
    }
    void mouseMoveEvent(QMouseEvent*) override { onMove_(); }

private:
    QPixmap picture_;
    std::function<void()> onMove_;
    std::function<bool(int)> tileAvailable_;
};

// Image1..Image6: invisible hit areas over the artwork's tiles.
class HitArea : public QWidget {
public:
    HitArea(std::function<void()> onHover, std::function<void()> onClick,
            std::function<void()> onLeave, QWidget* parent)
        : QWidget(parent),
          onHover_(std::move(onHover)),
          onClick_(std::move(onClick)),
          onLeave_(std::move(onLeave))
    {
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseMoveEvent(QMouseEvent*) override { onHover_(); }
    // A fast mouse can jump from a button to another without a move in between.
    void leaveEvent(QEvent*) override { onLeave_(); }
    void mousePressEvent(QMouseEvent* event) override
    {
        pressed_ = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool click = pressed_ && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        pressed_ = false;
        if (click) onClick_();
    }

private:
    std::function<void()> onHover_;
    std::function<void()> onClick_;
    std::function<void()> onLeave_;
    bool pressed_ = false;
};

// Command1(i): its picture, highlighted while the mouse is on it; acts on release.
class FunctionButton : public QLabel {
public:
    FunctionButton(std::function<void()> onHover, std::function<void()> onRelease,
                   std::function<void()> onLeave, QWidget* parent)
        : QLabel(parent),
          onHover_(std::move(onHover)),
          onRelease_(std::move(onRelease)),
          onLeave_(std::move(onLeave))
    {
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
        setScaledContents(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent*) override { onHover_(); }
    void leaveEvent(QEvent*) override { onLeave_(); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            onRelease_();
        }
    }

private:
    std::function<void()> onHover_;
    std::function<void()> onRelease_;
    std::function<void()> onLeave_;
};

// Line1.
class Underline : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kRed);
        painter.drawRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
    }
};

// Picture2: a rounded note with a tip that points down at its button.
class Balloon : public QWidget {
public:
    static constexpr int kTip = 7;
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (width() <= 0) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF body(0.75, 0.75, width() - 1.5, height() - kTip - 1.5);
        QPainterPath path;
        path.addRoundedRect(body, 8, 8);
        QPolygonF tip;
        const qreal mid = width() / 2.0;
        tip << QPointF(mid - kTip, body.bottom() - 1) << QPointF(mid, height() - 0.75)
            << QPointF(mid + kTip, body.bottom() - 1);
        path.addPolygon(tip);
        path = path.simplified();
        painter.setPen(QPen(kBrown, 1.5));
        painter.setBrush(QColor(0xff, 0xf8, 0xe4));
        painter.drawPath(path);
    }
};

}  // namespace

TwipRect placeMenuBox(TwipRect box, int windowWidth, int windowHeight)
{
    TwipRect placed = CenterInside(box, windowWidth, windowHeight);
    placed.left = std::max(0, placed.left);
    placed.top = std::max(0, placed.top);
    return placed;
}

WelcomeScreen::WelcomeScreen(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("welcome"));
    setWindowTitle(QStringLiteral("Main menu"));
    setMouseTracking(true);
    background_ = loadPicture(app_.state.folder, QStringLiteral("bak.gif"));

    menuBox_ = new MenuBox(
        loadPicture(app_.state.folder, QStringLiteral("tavendi1.gif")), [this] { leaveButtons(); },
        [this](int i) { return pictureButtonAvailable(i); }, this);

    for (int i = 0; i < kPictureButtons; ++i) {
        auto* button =
            new HitArea([this, i] { hoverPictureButton(i); }, [this, i] { clickPictureButton(i); },
                        [this] { leaveButtons(); }, menuBox_);
        button->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        button->setToolTip(QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(i)].tip));
        button->setGeometry(tileRect(i));
        pictureButtons_[static_cast<std::size_t>(i)] = button;
    }

    underline_ = new Underline(menuBox_);
    underline_->setObjectName(QStringLiteral("Line1"));
    underline_->hide();

    for (int i = 0; i < kFunctionButtons; ++i) {
        const auto at = static_cast<std::size_t>(i);
        normalPictures_[at] =
            loadPicture(app_.state.folder, QStringLiteral("pics/cmd%1.gif").arg(i));
        highlightPictures_[at] =
            loadPicture(app_.state.folder, QStringLiteral("pics/cmd%1_hi.gif").arg(i));
        if (normalPictures_[at].isNull()) normalPictures_[at] = plainFunctionPicture(i, false);
        if (highlightPictures_[at].isNull()) highlightPictures_[at] = plainFunctionPicture(i, true);
        auto* button = new FunctionButton([this, i] { hoverFunctionButton(i); },
                                          [this, i] { releaseFunctionButton(i); },
                                          [this] { leaveButtons(); }, menuBox_);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        button->setGeometry(functionRect(i));
        button->setPixmap(normalPictures_[at]);
        functionButtons_[at] = button;
    }

    balloon_ = new Balloon(menuBox_);
    balloon_->setObjectName(QStringLiteral("Picture2"));
    balloonLabel_ = new QLabel(balloon_);
    balloonLabel_->setObjectName(QStringLiteral("Label2"));
    QFont captionFont = balloonLabel_->font();
    captionFont.setPointSizeF(10);
    captionFont.setBold(true);
    balloonLabel_->setFont(captionFont);
    QPalette ink = balloonLabel_->palette();
    ink.setColor(QPalette::WindowText, kInk);
    balloonLabel_->setPalette(ink);
    balloon_->hide();

    balloonTimer_ = new QTimer(this);
    balloonTimer_->setObjectName(QStringLiteral("Timer2"));
    balloonTimer_->setSingleShot(true);
    balloonTimer_->setInterval(5);
    connect(balloonTimer_, &QTimer::timeout, this, &WelcomeScreen::showCaptionBalloon);

    // Takes the keyboard focus before a function runs; out of sight.
    focusTaker_ = new QPushButton(this);
    focusTaker_->setObjectName(QStringLiteral("Command2"));
    focusTaker_->setGeometry(-200, -200, 20, 20);

    placeMenu();
    showAvailability();
}

bool WelcomeScreen::pictureButtonAvailable(int index) const
{
    if (index < 0 || index >= kPictureButtons) return false;
    return app_.windows.hasFactory(
        QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(index)].window));
}

bool WelcomeScreen::functionButtonAvailable(int index) const
{
    // The forum (3) is an address, always there.
    static const std::array<const char*, kFunctionButtons> windows = {
        "Valj", "frmMenu", "frmDownload", nullptr, "frmBackup"};
    if (index < 0 || index >= kFunctionButtons) return false;
    const char* window = windows[static_cast<std::size_t>(index)];
    return !window || app_.windows.hasFactory(QString::fromLatin1(window));
}

void WelcomeScreen::showAvailability()
{
    for (int i = 0; i < kPictureButtons; ++i) {
        pictureButtons_[static_cast<std::size_t>(i)]->setCursor(
            pictureButtonAvailable(i) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    for (int i = 0; i < kFunctionButtons; ++i) {
        QLabel* button = functionButtons_[static_cast<std::size_t>(i)];
        if (functionButtonAvailable(i)) {
            button->setGraphicsEffect(nullptr);
        } else {
            auto* faded = new QGraphicsOpacityEffect(button);
            faded->setOpacity(0.4);
            button->setGraphicsEffect(faded);
        }
    }
    menuBox_->update();
}

void WelcomeScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showAvailability();
}

void WelcomeScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isNull()) {
        painter.fillRect(rect(), QColor(0xea, 0xe0, 0xc8));
    } else {
        painter.drawTiledPixmap(rect(), background_);
    }
    // A soft shadow lifts the menu off the cloth.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF box = QRectF(menuBox_->geometry()).translated(0, 3);
    for (int spread = 10; spread >= 1; --spread) {
        painter.setBrush(QColor(0x5a, 0x3a, 0x1a, 5));
        painter.drawRoundedRect(box.adjusted(-spread, -spread, spread, spread), spread + 2.0,
                                spread + 2.0);
    }
}

void WelcomeScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMenu();
}

void WelcomeScreen::placeMenu()
{
    const TwipRect box{0, 0, toTwips(menuBox_->width()), toTwips(menuBox_->height())};
    const TwipRect placed = placeMenuBox(box, toTwips(width()), toTwips(height()));
    menuBox_->move(twips(placed.left), twips(placed.top));
}

void WelcomeScreen::mouseMoveEvent(QMouseEvent* event)
{
    leaveButtons();
    QWidget::mouseMoveEvent(event);
}

void WelcomeScreen::leaveEvent(QEvent* event)
{
    // Off the window altogether: nothing stays lit.
    leaveButtons();
    QWidget::leaveEvent(event);
}

void WelcomeScreen::hoverPictureButton(int index)
{
    if (index < 0 || index >= kPictureButtons) return;
    const QRect tile = tileRect(index);
    underline_->setGeometry(tile.left(), tile.bottom() + 2, tile.width(), 3);
    underline_->show();
    underline_->raise();
}

void WelcomeScreen::clickPictureButton(int index)
{
    if (index < 0 || index >= kPictureButtons) return;
    const QString name =
        QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(index)].window);
    QWidget* window = app_.windows.reopen(name);
    if (window && index == kMaximisedPictureButton) {
        if (QMdiSubWindow* frame = app_.windows.subWindowOf(window)) frame->showMaximized();
    }
}

void WelcomeScreen::setHighlighted(int index, bool highlighted)
{
    const auto at = static_cast<std::size_t>(index);
    if (highlighted_[at] == highlighted) return;
    highlighted_[at] = highlighted;
    functionButtons_[at]->setPixmap(highlighted ? highlightPictures_[at] : normalPictures_[at]);
    functionButtons_[at]->setProperty("highlighted", highlighted);
}

void WelcomeScreen::hoverFunctionButton(int index)
{
    if (index < 0 || index >= kFunctionButtons) return;
    // Moving about on the same button leaves its balloon alone.
    if (index == balloonFor_) return;
    for (int i = 0; i < kFunctionButtons; ++i) {
        if (i != index) setHighlighted(i, false);
    }
    setHighlighted(index, true);
    balloonLabel_->setText(QString::fromUtf8(kFunctionCaptions[static_cast<std::size_t>(index)]));
    balloonLabel_->adjustSize();
    balloon_->resize(0, balloon_->height());
    balloon_->hide();
    balloonFor_ = index;
    balloonTimer_->start();
}

void WelcomeScreen::showCaptionBalloon()
{
    balloonTimer_->stop();
    if (balloonFor_ < 0) return;
    const QRect button = functionRect(balloonFor_);
    const int padding = twips(300) / 2;
    const QSize size(balloonLabel_->width() + twips(300),
                     balloonLabel_->height() + 2 * 6 + Balloon::kTip);
    balloonLabel_->move(padding, 6);
    // Above its button, its tip on the button's middle, kept on the menu.
    const int left = std::clamp(button.center().x() + 1 - size.width() / 2, 0,
                                std::max(0, menuBox_->width() - size.width()));
    balloon_->setGeometry(left, button.top() - size.height(), size.width(), size.height());
    balloon_->show();
    balloon_->raise();
}

void WelcomeScreen::releaseFunctionButton(int index)
{
    if (index < 0 || index >= kFunctionButtons) return;
    focusTaker_->setFocus();
    switch (index) {
    case 0: app_.windows.open(QStringLiteral("Valj")); break;
    case 1: app_.windows.open(QStringLiteral("frmMenu")); break;
    case 2: app_.windows.open(QStringLiteral("frmDownload")); break;
    case 3: app_.services.opener.openDocument(QString::fromLatin1(kForum)); break;
    case 4: app_.windows.open(QStringLiteral("frmBackup")); break;
    }
}

void WelcomeScreen::leaveButtons()
{
    balloonTimer_->stop();
    balloon_->hide();
    underline_->hide();
    balloonFor_ = -1;
    for (int i = 0; i < kFunctionButtons; ++i) setHighlighted(i, false);
}

void registerWelcomeWindow(AppContext& app)
{
    app.windows.addFactory(QStringLiteral("welcome"), [&app]() -> QWidget* {
        auto* welcome = new WelcomeScreen(app);
        QMdiSubWindow* frame = app.windows.add(welcome);
        // The main window keeps the frame over the whole area; it needs no border or title.
        frame->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
        frame->show();
        app.main.layoutWelcome();
        QObject::connect(app.windows.area(), &QMdiArea::subWindowActivated, welcome,
                         [frame](QMdiSubWindow* active) {
                             if (active != frame) return;
                             if (frame->isMinimized() || frame->isMaximized()) frame->showNormal();
                             // A click on the menu must not bury the windows opened from it.
                             // The area raises the frame once this signal is through, so the
                             // frame goes back down afterwards.
                             QMetaObject::invokeMethod(
                                 frame, [frame] { frame->lower(); }, Qt::QueuedConnection);
                         });
        return welcome;
    });
}

}  // namespace culvora::gui
