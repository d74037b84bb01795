#include "gui/recipes/recipe_browser.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "gui/app/geometry.h"
#include "gui/app/pictures.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/theme.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/store/destination_chooser.h"

namespace culvora::gui {

namespace {

using namespace browser_grid;

// The window in logical pixels, drawn over recept.gif (660 x 440).
constexpr int kPictureWidth = 660;
constexpr int kPictureHeight = 440;
constexpr int kStripTop = 8;
constexpr int kStripLeft = 20;
constexpr int kStripStep = 24;
constexpr int kStripSize = 22;
constexpr QRect kCountRect{60, 40, 540, 16};
constexpr QRect kCanvasRect{20, 56, 620, 326};
constexpr int kButtonTop = 382;
constexpr int kButtonHeight = 28;

// The grid's first row is drawn 580 twips higher than its twips say, just below the count: a
// column of ten headings (a new cookbook) is 5000 twips tall, and drawn from 1450 it would
// run into the button row of the picture.
constexpr int kGridLift = 580;
// Names longer than a column are cut short with an ellipsis, so columns never run together.
constexpr int kNameRoom = kColumnWidth - 250;

constexpr int kLetterCount = 25;

const QColor kPaper(0xFD, 0xF9, 0xF0);
const QColor kNameColour(0x1E, 0x1A, 0x17);
const QColor kPressedColour(0x1B, 0x2F, 0x80);
const QColor kHeadingColour(0xA8, 0x3A, 0x24);

QString letterCaption(int index)
{
    // A to Z without W, which sorts with V.
    char letter = static_cast<char>('A' + index);
    if (letter >= 'W') ++letter;
    return QString(QLatin1Char(letter));
}

// A drag picture drawn in code, for a data folder that lacks the delivered ones.
QPixmap drawnIcon(int kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == 2) {  // no drop
        p.setPen(QPen(QColor(0xC0, 0x32, 0x24), 4));
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.drawLine(QPointF(8.5, 8.5), QPointF(23.5, 23.5));
        return pixmap;
    }
    p.setPen(QPen(QColor(0xB0, 0x80, 0x58), 1.5));
    p.setBrush(QColor(0xFF, 0xFB, 0xF2));
    p.drawRect(QRectF(3, 6, 24, 18));
    p.setPen(QPen(QColor(0xC8, 0x55, 0x3D), 2));
    p.drawLine(QPointF(6, 10), QPointF(24, 10));
    p.setPen(QPen(QColor(0x90, 0x84, 0x78), 1.5));
    for (int y = 14; y <= 20; y += 3) p.drawLine(QPointF(6, y), QPointF(22, y));
    if (kind == 1) {  // drop
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3E, 0x8E, 0x41));
        p.drawEllipse(QRectF(16, 16, 15, 15));
        p.setPen(QPen(Qt::white, 2.2));
        p.drawPolyline(QPolygonF({QPointF(19.5, 23.5), QPointF(22.5, 26.5), QPointF(27.5, 20.5)}));
    }
    return pixmap;
}

QPixmap pictureOr(const ProgramFolder& folder, const QString& name, int kind)
{
    QPixmap picture = loadPicture(folder, name);
    return picture.isNull() ? drawnIcon(kind) : picture;
}

QFont namesFont()
{
    QFont font = QGuiApplication::font();
    font.setPointSize(10);
    return font;
}

const QString kButtonStyle = QStringLiteral(
    "QPushButton { background: #fffdf8; color: #4a2c20; border: 1px solid #d6b8a4;"
    "  border-radius: 4px; padding: 2px 8px; }"
    "QPushButton:hover { background: #fdece4; border-color: #c8553d; }"
    "QPushButton:pressed { background: #f7d8cc; }"
    "QPushButton:disabled { color: #cbbcb1; border-color: #eadcd2; background: #fbf6ee; }"
    "QPushButton[letter=\"true\"] { padding: 0; font-weight: bold; }"
    "QPushButton[dropTarget=\"true\"] { border-style: dashed; border-color: #c8553d; }"
    "QPushButton[dropHover=\"true\"] { background: #e4f2dc; border: 2px solid #3e8e41; }");

}  // namespace

QFont headingFont()
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Dancing Script"))) {
        font.setFamily(QStringLiteral("Dancing Script"));
        font.setPixelSize(20);
    } else {
        font.setFamily(QStringLiteral("DejaVu Serif"));
        font.setStyleHint(QFont::Serif);
        font.setPixelSize(15);
    }
    font.setBold(true);
    return font;
}

// The one widget that shows the labels: it paints the few on screen and turns mouse events
// into label hits, so 20,000 names cost no more than twenty.
class NameCanvas : public QWidget {
public:
    NameCanvas(RecipeBrowser& browser, QWidget* parent)
        : QWidget(parent),
          browser_(browser),
          nameFont_(namesFont()),
          headingFont_(gui::headingFont())
    {
        setMouseTracking(true);
    }

    const QFont& nameFont() const { return nameFont_; }
    const QFont& headingFont() const { return headingFont_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        const BrowserLayout& layout = browser_.layout_;
        const QFontMetrics nameMetrics(nameFont_);
        for (LabelRef ref : layout.shownLabels()) {
            const QRect r = browser_.labelRect(ref).translated(-pos());
            const QString text = fromCp(layout.caption(ref));
            if (ref.kind == LabelKind::Heading) {
                p.setFont(headingFont_);
                p.setPen(kHeadingColour);
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
            } else {
                p.setFont(nameFont_);
                const bool pressed = browser_.pressed_ && ref.index == browser_.dragIndex_;
                p.setPen(pressed ? kPressedColour : kNameColour);
                p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                           nameMetrics.elidedText(text, Qt::ElideRight, twips(kNameRoom)));
            }
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() == Qt::NoButton)
            browser_.hoverAt(mapToParent(event->position().toPoint()));
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            browser_.pressAt(mapToParent(event->position().toPoint()));
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) browser_.releaseName();
    }

    void leaveEvent(QEvent*) override
    {
        if (!browser_.pressed_) browser_.hideBar();
    }

private:
    RecipeBrowser& browser_;
    QFont nameFont_;
    QFont headingFont_;
};

RecipeBrowser::RecipeBrowser(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kBrowser);
    setWindowTitle(QStringLiteral("Recipes"));
    background_ = loadPicture(app.state.folder, QStringLiteral("recept.gif"));
    dragIcon_ = pictureOr(app.state.folder, QStringLiteral("pics/drag.gif"), 0);
    dropIcon_ = pictureOr(app.state.folder, QStringLiteral("pics/drop.gif"), 1);
    noDropIcon_ = pictureOr(app.state.folder, QStringLiteral("pics/nodrop.gif"), 2);
    // The picture fixes the window's size.
    setFixedSize(background_.isNull() ? QSize(kPictureWidth, kPictureHeight)
                                      : background_.deviceIndependentSize().toSize());
    buildControls();
}

RecipeBrowser::~RecipeBrowser()
{
    // The canvas calls back into the browser (a leave event while it goes): it must go first.
    delete canvas_;
    canvas_ = nullptr;
}

QPushButton* RecipeBrowser::addButton(const char* name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void RecipeBrowser::buildControls()
{
    setStyleSheet(kButtonStyle);

    canvas_ = new NameCanvas(*this, this);
    canvas_->setObjectName(QStringLiteral("labels"));  // where ratt and bokstav are painted
    canvas_->setGeometry(kCanvasRect);

    bar_ = new QLabel(this);
    bar_->setObjectName(QStringLiteral("Label3"));
    bar_->hide();

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("label4"));
    count_->setGeometry(kCountRect);
    count_->setAlignment(Qt::AlignCenter);
    QFont countFont = namesFont();
    countFont.setItalic(true);
    count_->setFont(countFont);
    count_->setStyleSheet(QStringLiteral("color: #7a5a48;"));

    for (int i = 0; i < kLetterCount; ++i) {
        QPushButton* letter = addButton(
            QStringLiteral("Command10(%1)").arg(i).toLatin1().constData(), letterCaption(i), {});
        letter->setProperty("letter", true);
        letter->setGeometry(kStripLeft + kStripStep * i, kStripTop, kStripSize, kStripSize);
        connect(letter, &QPushButton::clicked, this, [this, i] { pressLetter(i); });
    }

    // The button row: the arrows at both ends, "New recipe", the four drop targets, "Options >".
    struct RowButton {
        const char* name;
        QString caption;
        QString tip;
        int left;
        int width;
    };
    const RowButton row[] = {
        {"Command8", QStringLiteral("<"), QStringLiteral("Scroll left"), 20, 30},
        {"Command2", QStringLiteral("New recipe"),
         QStringLiteral("Add a new recipe to your cookbook"), 62, 96},
        {"Command3", QStringLiteral("Edit"), QStringLiteral("Edit a recipe"), 186, 66},
        {"Command5", QStringLiteral("Move"), QStringLiteral("Move recipe to another cookbook"), 258,
         66},
        {"Command6", QStringLiteral("Upload"), QStringLiteral("Upload a recipe"), 330, 70},
        {"Command9", QStringLiteral("Delete"), QStringLiteral("Delete a recipe"), 406, 70},
        {"Command12", QStringLiteral("Options >"), QStringLiteral("See some more options"), 504,
         94},
        {"Command4", QStringLiteral(">"), QStringLiteral("Scroll right"), 610, 30},
    };
    for (const RowButton& place : row) {
        QPushButton* button = addButton(place.name, place.caption, place.tip);
        button->setGeometry(place.left, kButtonTop, place.width, kButtonHeight);
        if (isDropTarget(button->objectName())) {
            button->setProperty("dropTarget", true);
            button->setAcceptDrops(true);
            button->installEventFilter(this);
            connect(button, &QPushButton::clicked, this, &RecipeBrowser::refuseActionClick);
        }
    }
    connect(findChild<QPushButton*>(QStringLiteral("Command8")), &QPushButton::clicked, this,
            &RecipeBrowser::scrollLeft);
    connect(findChild<QPushButton*>(QStringLiteral("Command4")), &QPushButton::clicked, this,
            &RecipeBrowser::scrollRight);
    auto* newRecipe = findChild<QPushButton*>(QStringLiteral("Command2"));
    connect(newRecipe, &QPushButton::clicked, this, &RecipeBrowser::openNewRecipe);
    // Greyed out rather than doing nothing while the program has no recipe editor.
    newRecipe->setEnabled(app_.windows.hasFactory(forms::kNewRecipe));
    optionsButton_ = findChild<QPushButton*>(QStringLiteral("Command12"));
    connect(optionsButton_, &QPushButton::clicked, this, &RecipeBrowser::popupOptions);

    // Command7 takes the keyboard focus out of sight, so no button shows a focus frame and
    // Enter presses nothing.
    focusSink_ = new QPushButton(this);
    focusSink_->setObjectName(QStringLiteral("Command7"));
    focusSink_->setGeometry(twips(-1200), kButtonTop, 40, kButtonHeight);

    dragTimer_ = new QTimer(this);
    dragTimer_->setObjectName(QStringLiteral("Timer2"));
    dragTimer_->setSingleShot(true);
    dragTimer_->setInterval(300);
    connect(dragTimer_, &QTimer::timeout, this, &RecipeBrowser::dragTimerFired);

    moveTimer_ = new QTimer(this);
    moveTimer_->setObjectName(QStringLiteral("Timer3"));
    moveTimer_->setSingleShot(true);
    moveTimer_->setInterval(50);
    connect(moveTimer_, &QTimer::timeout, this, &RecipeBrowser::moveTimerFired);

    afterScroll();
}

// --- The list ------------------------------------------------------------------------------

void RecipeBrowser::setRecipeIndex(const store::RecipeIndex& index)
{
    list_ = index.entries;
    count_->setText(fromCp(index.countText()));
}

void RecipeBrowser::placeLabels()
{
    layout_.place(list_);
    app_.state.headingCount = layout_.headingCount();
    app_.state.nameCount = layout_.nameCount();
    afterScroll();
}

void RecipeBrowser::hideNameLabel(int index)
{
    if (index == barName_) hideBar();
    layout_.hideName(index);
    canvas_->update();
}

int RecipeBrowser::findNameLabel(const std::string& name) const
{
    return layout_.findName(name);
}

// --- Geometry and hit-testing --------------------------------------------------------------

int RecipeBrowser::labelWidth(LabelRef ref) const
{
    const QString text = fromCp(layout_.caption(ref));
    if (ref.kind == LabelKind::Heading) {
        return toTwips(QFontMetrics(canvas_->headingFont()).horizontalAdvance(text));
    }
    const int width = QFontMetrics(canvas_->nameFont()).horizontalAdvance(text);
    return toTwips(std::min(width, twips(kNameRoom)));
}

LabelSizes RecipeBrowser::labelSizes() const
{
    LabelSizes sizes;
    sizes.width = [this](LabelRef ref) { return labelWidth(ref); };
    sizes.nameHeight = toTwips(QFontMetrics(canvas_->nameFont()).height());
    sizes.headingHeight = toTwips(QFontMetrics(canvas_->headingFont()).height());
    return sizes;
}

QRect RecipeBrowser::labelRect(LabelRef ref) const
{
    if (!layout_.isVisible(ref)) return {};
    const LabelSizes sizes = labelSizes();
    const int height = ref.kind == LabelKind::Heading ? sizes.headingHeight : sizes.nameHeight;
    return QRect(twips(layout_.left(ref)), twips(layout_.top(ref) - kGridLift),
                 twips(labelWidth(ref)), twips(height));
}

LabelRef RecipeBrowser::labelAt(const QPoint& windowPos) const
{
    // The middle of the pixel, so that a label's first pixel column belongs to it.
    return layout_.hitTest(toTwips(windowPos.x()) + 7, toTwips(windowPos.y()) + 7 + kGridLift,
                           labelSizes());
}

void RecipeBrowser::showBar(int nameIndex)
{
    const LabelSizes sizes = labelSizes();
    const int width = labelWidth({LabelKind::Name, nameIndex});
    const TwipRect bar = layout_.hoverBar(nameIndex, width, sizes.nameHeight);
    bar_->setGeometry(twips(bar.left), twips(bar.top - kGridLift), twips(bar.width),
                      std::max(2, twips(bar.height)));
    const bool pressed = pressed_ && nameIndex == dragIndex_;
    bar_->setStyleSheet(pressed ? QStringLiteral("background: #1b2f80;")
                                : QStringLiteral("background: #1e1a17;"));
    bar_->show();
    bar_->raise();
    barName_ = nameIndex;
}

void RecipeBrowser::hideBar()
{
    bar_->hide();
    barName_ = 0;
}

void RecipeBrowser::hoverAt(const QPoint& windowPos)
{
    const LabelRef ref = labelAt(windowPos);
    if (ref.kind == LabelKind::Name) {
        if (ref.index != barName_ || bar_->isHidden()) showBar(ref.index);
        canvas_->setCursor(Qt::PointingHandCursor);
    } else {
        hideBar();
        canvas_->unsetCursor();
    }
}

// --- Click and drag ------------------------------------------------------------------------

void RecipeBrowser::pressAt(const QPoint& windowPos)
{
    const LabelRef ref = labelAt(windowPos);
    if (ref.kind != LabelKind::Name) return;
    dragIndex_ = ref.index;
    pressed_ = true;
    showBar(ref.index);
    canvas_->update();
    dragTimer_->start();
}

void RecipeBrowser::releaseName()
{
    if (!pressed_) return;
    dragTimer_->stop();
    pressed_ = false;
    showBar(dragIndex_);
    canvas_->update();
    const std::string name = layout_.caption({LabelKind::Name, dragIndex_});
    showRecipe(app_, name);
}

void RecipeBrowser::dragTimerFired()
{
    dragTimer_->stop();
    if (!pressed_) return;
    pressed_ = false;
    hideBar();
    canvas_->update();
    // The drag loop runs events; the window may be closed before it returns.
    const QPointer<RecipeBrowser> alive(this);
    const QString target = dragStarter_ ? dragStarter_(dragIndex_) : runPlatformDrag(dragIndex_);
    if (alive && !target.isEmpty()) dropOn(target);
}

QString RecipeBrowser::runPlatformDrag(int nameIndex)
{
    auto* mime = new QMimeData;
    mime->setData(dragFormat(),
                  QByteArray::fromStdString(layout_.caption({LabelKind::Name, nameIndex})));
    QDrag drag(canvas_);
    drag.setMimeData(mime);
    drag.setPixmap(dragIcon_);
    // The picture hangs below and right of the pointer, which shows the drop or no-drop icon.
    drag.setHotSpot(QPoint(-10, -10));
    drag.setDragCursor(dropIcon_, Qt::MoveAction);
    drag.setDragCursor(noDropIcon_, Qt::IgnoreAction);
    dropTarget_.clear();
    // The action runs after the drag has ended, so that the question of a delete is not
    // asked from inside the platform's drag loop.
    drag.exec(Qt::MoveAction);
    QString target = dropTarget_;
    dropTarget_.clear();
    return target;
}

QString RecipeBrowser::dragFormat()
{
    return QStringLiteral("application/x-culvora-recipe");
}

bool RecipeBrowser::isDropTarget(const QString& objectName)
{
    return objectName == QLatin1String("Command3") || objectName == QLatin1String("Command5") ||
           objectName == QLatin1String("Command6") || objectName == QLatin1String("Command9");
}

bool RecipeBrowser::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !isDropTarget(button->objectName())) return QWidget::eventFilter(watched, event);
    auto setHover = [button](bool on) {
        button->setProperty("dropHover", on);
        button->style()->unpolish(button);
        button->style()->polish(button);
    };
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasFormat(dragFormat())) return false;
        drag->setDropAction(Qt::MoveAction);
        drag->accept();
        if (event->type() == QEvent::DragEnter) setHover(true);
        return true;
    }
    case QEvent::DragLeave: setHover(false); return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        setHover(false);
        if (!drop->mimeData()->hasFormat(dragFormat())) return false;
        dropTarget_ = button->objectName();
        drop->setDropAction(Qt::MoveAction);
        drop->accept();
        return true;
    }
    default: return QWidget::eventFilter(watched, event);
    }
}

void RecipeBrowser::dropOn(const QString& targetName)
{
    const LabelRef dragged{LabelKind::Name, dragIndex_};
    if (!isDropTarget(targetName) || !layout_.isVisible(dragged)) return;
    const std::string name = layout_.caption(dragged);
    if (targetName == QLatin1String("Command3")) {
        app_.state.editRecipe = name;
        app_.windows.open(forms::kEditRecipe);
    } else if (targetName == QLatin1String("Command9")) {
        DeleteRecipe(app_, name, dragIndex_);
    } else if (targetName == QLatin1String("Command6")) {
        update();
        app_.state.dragRecipe = name;
        app_.windows.open(forms::kUpload);
    } else if (targetName == QLatin1String("Command5")) {
        app_.state.moveIndex = dragIndex_;
        app_.state.dragRecipe = name;
        openDestinationChooser(app_, ChooserMode::Move, moveTimer_);
    }
}

// --- The move ------------------------------------------------------------------------------

void RecipeBrowser::moveTimerFired()
{
    moveTimer_->stop();
    ShellState& state = app_.state;
    const std::string name = state.dragRecipe;
    auto report = [this](const QString& text) {
        app_.services.prompter.inform(text, QStringLiteral("Error"), MessageIcon::Exclamation);
    };

    auto moved = store::CookbookList(state.folder)
                     .moveRecipe(state.currentCookbookFile, state.targetBookTitle, name);
    if (!moved) return report(toQString(moved.error()));
    if (*moved == store::CookbookList::MoveOutcome::SameCookbook) return;
    recipeRemoved(app_, state.moveIndex);
    update();
}

// --- Buttons -------------------------------------------------------------------------------

void RecipeBrowser::focusSink()
{
    focusSink_->setFocus();
}

void RecipeBrowser::refuseActionClick()
{
    focusSink();
    app_.services.prompter.inform(QStringLiteral("Drag and drop a recipe to do this"),
                                  QStringLiteral("User error"));
}

void RecipeBrowser::openNewRecipe()
{
    focusSink();
    app_.windows.open(forms::kNewRecipe);
}

void RecipeBrowser::popupOptions()
{
    app_.shell.popupOptionsMenu(optionsButton_->mapToGlobal(QPoint(0, optionsButton_->height())));
}

void RecipeBrowser::scrollLeft()
{
    if (layout_.scrollLeft()) afterScroll();
    focusSink();
}

void RecipeBrowser::scrollRight()
{
    if (layout_.scrollRight()) afterScroll();
    focusSink();
}

void RecipeBrowser::pressLetter(int index)
{
    if (layout_.pressLetter(index) != 0) afterScroll();
    focusSink();
}

void RecipeBrowser::afterScroll()
{
    hideBar();
    findChild<QPushButton*>(QStringLiteral("Command8"))->setEnabled(layout_.canScrollLeft());
    findChild<QPushButton*>(QStringLiteral("Command4"))->setEnabled(layout_.canScrollRight());
    canvas_->update();
}

// --- Painting and showing ------------------------------------------------------------------

void RecipeBrowser::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!background_.isNull()) {
        p.drawPixmap(0, 0, background_);
        return;
    }
    // Without recept.gif: a plain page with the same rules, so the window still reads well.
    p.fillRect(rect(), kPaper);
    p.fillRect(QRect(0, 0, width(), 3), QColor(0xD4, 0x41, 0x29));
    p.setPen(QColor(0xF1, 0xC2, 0xB5));
    p.drawLine(18, 38, width() - 18, 38);
    p.setPen(QColor(0xE7, 0xDB, 0xC3));
    p.drawLine(18, 374, width() - 18, 374);
    p.fillRect(QRect(0, height() - 24, width(), 24), QColor(0xED, 0xB9, 0xAA));
}

void RecipeBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    focusSink();
}

// --- Opening -------------------------------------------------------------------------------

void registerBrowserWindow(AppContext& app)
{
    app.windows.addFactory(forms::kBrowser, [&app]() -> QWidget* {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto* browser = new RecipeBrowser(app);
        // The picture fixes the size: the frame can be moved and minimised, not resized.
        QMdiSubWindow* frame = app.windows.add(browser, WindowKind::Fixed);
        const QSize area = app.windows.area()->viewport()->size();
        const TwipRect placed = placeBrowser(toTwips(frame->width()), toTwips(frame->height()),
                                             toTwips(area.width()), toTwips(area.height()));
        frame->move(twips(placed.left), twips(placed.top));
        // Now that the window is in the area, FillRecipeList finds it instead of opening another.
        FillRecipeList(app);
        browser->placeLabels();
        QGuiApplication::restoreOverrideCursor();
        return browser;
    });
}

}  // namespace culvora::gui
