#include "gui/app/welcome_screen.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QTimer>

#include <algorithm>

#include "core/app/product.h"
#include "gui/app/app_windows.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/widgets/accessibility.h"
#include "gui/widgets/clickable_label.h"

namespace culvora::gui {

namespace {

// The menu artwork and where its tiles and the board's buttons lie on it.
constexpr QSize kMenuSize(640, 480);
// The radius of the menu's rounded corners: inside them the menu covers what lies behind it.
constexpr int kMenuCorner = 14;
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
    QLatin1String window;
};
const std::array<PictureButton, WelcomeScreen::kPictureButtons> kPictureButtonTable = {{
    {"Find recipes that you can cook", forms::kFridgeSearch},
    {"View available drinks", forms::kDrinks},
    {"View a ingredient's nutrition and data", forms::kNutrition},
    {"Search recipes by cooking time and recipe type", forms::kSearch},
    {"View available recipes", forms::kBrowser},
    {"Calculate nutrition values and calories", forms::kCalculator},
}};
// The nutrition viewer is a large grid: it opens maximised.
constexpr int kMaximisedPictureButton = 2;

// Command1(i): the caption its balloon shows and the window it opens; the forum is an
// address, opened by the desktop.
struct FunctionButton {
    const char* caption;
    QLatin1String window;
};
const std::array<FunctionButton, WelcomeScreen::kFunctionButtons> kFunctionButtonTable = {{
    {"Organize cookbooks", forms::kCookbooks},
    {"Compose weekly menu", forms::kWeeklyMenu},
    {"Download recipes", forms::kDownload},
    {"Discuss food with other users", QLatin1String()},
    {"Create backup", forms::kBackup},
}};

using theme::kCream;
const QColor kRed = theme::kTomato;
const QColor kInk = theme::kBrownInk;

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
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(0, 0, kMenuSize.width(), kMenuSize.height()), kMenuCorner,
                      kMenuCorner);
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(0, 0, kMenuSize.width(), 78), kMenuCorner, kMenuCorner);
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
        p.setPen(QPen(theme::welcome::kTileEdge, 1.2));
        p.setBrush(theme::welcome::kTile);
        p.drawRoundedRect(tile, 10, 10);
        p.setPen(kInk);
        p.drawText(tile.adjusted(14, 10, -14, -10), Qt::AlignCenter | Qt::TextWordWrap,
                   QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(i)].tip));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(theme::welcome::kBoard);
    p.drawRoundedRect(QRectF(90, 396, 470, 72), 12, 12);
    return pixmap;
}

// A function button's picture when its file is missing: a tile with the first word of its
// caption.
QPixmap plainFunctionPicture(int index, bool highlighted)
{
    QPixmap pixmap(kFunctionSize * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(highlighted ? theme::welcome::kLitButtonEdge : theme::welcome::kButtonEdge,
                  highlighted ? 3 : 1.5));
    p.setBrush(highlighted ? theme::welcome::kLitButton : theme::welcome::kButton);
    p.drawRoundedRect(QRectF(2, 2, 56, 56), 10, 10);
    QFont font = p.font();
    font.setPointSizeF(7.5);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    const QString caption =
        QString::fromUtf8(kFunctionButtonTable[static_cast<std::size_t>(index)].caption);
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
        natural_ = picture_.deviceIndependentSize().toSize();
        setFixedSize(natural_);
        setMouseTracking(true);
    }

    QSize naturalSize() const { return natural_; }
    double scale() const { return scale_; }
    // Drawn smaller where the room is smaller than the menu (a small screen, large scaling).
    void setScale(double scale)
    {
        scale_ = scale;
        setFixedSize((QSizeF(natural_) * scale).toSize());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(scale_, scale_);
        painter.drawPixmap(0, 0, picture_);
        // A screen this program does not have yet is shown faded, so nobody waits for it.
        for (int i = 0; i < WelcomeScreen::kPictureButtons; ++i) {
            if (!tileAvailable_(i)) painter.fillRect(tileRect(i), theme::welcome::kFaded);
        }
    }
    void mouseMoveEvent(QMouseEvent*) override { onMove_(); }

private:
    QPixmap picture_;
    QSize natural_;
    double scale_ = 1.0;
    std::function<void()> onMove_;
    std::function<bool(int)> tileAvailable_;
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
        painter.setPen(QPen(theme::kBrown, 1.5));
        painter.setBrush(theme::welcome::kBalloon);
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
    setObjectName(forms::kWelcome);
    setWindowTitle(QStringLiteral("Main menu"));
    setMouseTracking(true);
    background_ = loadPicture(app_.state, QStringLiteral("bak.gif"));

    menuBox_ = new MenuBox(
        loadPicture(app_.state, QStringLiteral("tavendi1.gif")), [this] { leaveButtons(); },
        [this](int i) { return pictureButtonAvailable(i); }, this);

    // Image1..Image6: clickable areas over the artwork's tiles. Tab reaches them, then the
    // function buttons; Enter or Space clicks the one with the focus.
    for (int i = 0; i < kPictureButtons; ++i) {
        auto* button = new ClickableLabel(menuBox_);
        button->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        button->setToolTip(QString::fromUtf8(kPictureButtonTable[static_cast<std::size_t>(i)].tip));
        button->setGeometry(tileRect(i));
        button->setKeyboardFocusable(true);
        connect(button, &ClickableLabel::hovered, this, [this, i] { hoverPictureButton(i); });
        connect(button, &ClickableLabel::clicked, this, [this, i] { clickPictureButton(i); });
        connect(button, &ClickableLabel::left, this, &WelcomeScreen::leaveButtons);
        pictureButtons_[static_cast<std::size_t>(i)] = button;
    }

    underline_ = new Underline(menuBox_);
    underline_->setObjectName(QStringLiteral("Line1"));
    underline_->hide();

    for (int i = 0; i < kFunctionButtons; ++i) {
        const auto at = static_cast<std::size_t>(i);
        // The highlighted picture waits until the mouse first comes onto the button.
        normalPictures_[at] = loadPicture(app_.state, QStringLiteral("pics/cmd%1.gif").arg(i));
        if (normalPictures_[at].isNull()) normalPictures_[at] = plainFunctionPicture(i, false);
        // Acts when the mouse button is released on it.
        auto* button = new ClickableLabel(menuBox_, ClickableLabel::Click::Release);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        button->setGeometry(functionRect(i));
        button->setScaledContents(true);
        button->setPixmap(normalPictures_[at]);
        button->setKeyboardFocusable(true);
        connect(button, &ClickableLabel::hovered, this, [this, i] { hoverFunctionButton(i); });
        connect(button, &ClickableLabel::clicked, this, [this, i] { releaseFunctionButton(i); });
        connect(button, &ClickableLabel::left, this, &WelcomeScreen::leaveButtons);
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

    // Takes the keyboard focus before a function runs; out of sight, so Tab must not stop
    // on it (the focus would vanish for one key press).
    focusTaker_ = new QPushButton(this);
    focusTaker_->setObjectName(QStringLiteral("Command2"));
    focusTaker_->setGeometry(-200, -200, 20, 20);
    focusTaker_->setFocusPolicy(Qt::NoFocus);
    hideFromScreenReaders(focusTaker_);

    placeMenu();
    showAvailability();
}

bool WelcomeScreen::pictureButtonAvailable(int index) const
{
    if (index < 0 || index >= kPictureButtons) return false;
    return app_.windows.hasFactory(kPictureButtonTable[static_cast<std::size_t>(index)].window);
}

bool WelcomeScreen::functionButtonAvailable(int index) const
{
    // The forum is an address, always there.
    if (index < 0 || index >= kFunctionButtons) return false;
    const QLatin1String window = kFunctionButtonTable[static_cast<std::size_t>(index)].window;
    return window.isEmpty() || app_.windows.hasFactory(window);
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
        painter.fillRect(rect(), theme::welcome::kCloth);
    } else {
        painter.drawTiledPixmap(rect(), background_);
    }
    // A soft shadow lifts the menu off the cloth. Only its rim shows, so the part the menu
    // covers is left out (on a large screen the ten rings would blend a million pixels each).
    const QRect menu = menuBox_->geometry();
    painter.setClipRegion(QRegion(rect()) -
                          QRegion(menu.adjusted(kMenuCorner, 0, -kMenuCorner, 0)) -
                          QRegion(menu.adjusted(0, kMenuCorner, 0, -kMenuCorner)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF box = QRectF(menu).translated(0, 3);
    for (int spread = 10; spread >= 1; --spread) {
        painter.setBrush(theme::welcome::kShadow);
        painter.drawRoundedRect(box.adjusted(-spread, -spread, spread, spread), spread + 2.0,
                                spread + 2.0);
    }
}

void WelcomeScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMenu();
}

QRect WelcomeScreen::scaled(const QRect& onPicture) const
{
    const double scale = static_cast<MenuBox*>(menuBox_)->scale();
    return QRectF(QPointF(onPicture.topLeft()) * scale, QSizeF(onPicture.size()) * scale)
        .toRect();
}

void WelcomeScreen::placeMenu()
{
    // The whole menu stays in view, its bottom row of buttons too, down to half its size, with
    // a margin round it once it is drawn smaller.
    auto* box = static_cast<MenuBox*>(menuBox_);
    const QSize natural = box->naturalSize();
    constexpr int kMargin = 8;
    const bool fits = shrinkToFit(natural.width(), natural.height(), width(), height()) == 1.0;
    const double scale =
        fits ? 1.0
             : std::max(0.5, shrinkToFit(natural.width(), natural.height(), width() - 2 * kMargin,
                                         height() - 2 * kMargin));
    if (scale != box->scale()) {
        box->setScale(scale);
        for (int i = 0; i < kPictureButtons; ++i) {
            pictureButtons_[static_cast<std::size_t>(i)]->setGeometry(scaled(tileRect(i)));
        }
        for (int i = 0; i < kFunctionButtons; ++i) {
            functionButtons_[static_cast<std::size_t>(i)]->setGeometry(scaled(functionRect(i)));
        }
        leaveButtons();
    }
    centreMenu();
}

void WelcomeScreen::centreMenu()
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
    const QRect tile = scaled(tileRect(index));
    underline_->setGeometry(tile.left(), tile.bottom() + 2, tile.width(), 3);
    underline_->show();
    underline_->raise();
}

void WelcomeScreen::clickPictureButton(int index)
{
    if (index < 0 || index >= kPictureButtons) return;
    const QString name = kPictureButtonTable[static_cast<std::size_t>(index)].window;
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
    if (highlighted && highlightPictures_[at].isNull()) {
        highlightPictures_[at] =
            loadPicture(app_.state, QStringLiteral("pics/cmd%1_hi.gif").arg(index));
        if (highlightPictures_[at].isNull()) {
            highlightPictures_[at] = plainFunctionPicture(index, true);
        }
    }
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
    balloonLabel_->setText(
        QString::fromUtf8(kFunctionButtonTable[static_cast<std::size_t>(index)].caption));
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
    const QRect button = scaled(functionRect(balloonFor_));
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
    const QLatin1String window = kFunctionButtonTable[static_cast<std::size_t>(index)].window;
    if (window.isEmpty()) {
        app_.services.opener.openDocument(QString::fromLatin1(app::kForum));
    } else {
        app_.windows.open(window);
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
    app.windows.addFactory(forms::kWelcome, [&app]() -> QWidget* {
        auto* welcome = new WelcomeScreen(app);
        // The shell keeps it over the whole area, behind the windows opened from it.
        app.windows.add(welcome, WindowKind::Background);
        app.shell.layoutWelcome();
        return welcome;
    });
}

}  // namespace culvora::gui
