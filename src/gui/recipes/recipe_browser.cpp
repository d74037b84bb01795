#include "gui/recipes/recipe_browser.h"

#include <QCheckBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/shell.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"
#include "gui/widgets/accessibility.h"

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
constexpr int kLetterV = 21;
// The right edge of the button row on the picture.
constexpr int kRowRight = 640;

using theme::kPaper;
const QColor kNameColour = theme::kDarkInk;
const QColor kPressedColour = theme::kPressedInk;
const QColor kHeadingColour = theme::kHeading;

QString letterCaption(int index)
{
    // A to Z without W, which sorts with V.
    char letter = static_cast<char>('A' + index);
    if (letter >= 'W') ++letter;
    return QString(QLatin1Char(letter));
}

// The three drag pictures: dragging started, over a target, over no target.
enum class DragIcon { Drag, Drop, NoDrop };

// A drag picture drawn in code, for a data folder that lacks the delivered ones.
QPixmap drawnIcon(DragIcon kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == DragIcon::NoDrop) {
        p.setPen(QPen(theme::browser::kNoDrop, 4));
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.drawLine(QPointF(8.5, 8.5), QPointF(23.5, 23.5));
        return pixmap;
    }
    p.setPen(QPen(theme::browser::kCardEdge, 1.5));
    p.setBrush(theme::browser::kCard);
    p.drawRect(QRectF(3, 6, 24, 18));
    p.setPen(QPen(theme::browser::kCardTitle, 2));
    p.drawLine(QPointF(6, 10), QPointF(24, 10));
    p.setPen(QPen(theme::browser::kCardLines, 1.5));
    for (int y = 14; y <= 20; y += 3) p.drawLine(QPointF(6, y), QPointF(22, y));
    if (kind == DragIcon::Drop) {
        p.setPen(Qt::NoPen);
        p.setBrush(theme::browser::kDropMark);
        p.drawEllipse(QRectF(16, 16, 15, 15));
        p.setPen(QPen(theme::browser::kDropTick, 2.2));
        p.drawPolyline(QPolygonF({QPointF(19.5, 23.5), QPointF(22.5, 26.5), QPointF(27.5, 20.5)}));
    }
    return pixmap;
}

QPixmap pictureOr(const ShellState& state, const QString& name, DragIcon kind)
{
    QPixmap picture = loadPicture(state, name);
    return picture.isNull() ? drawnIcon(kind) : picture;
}

// The names are never smaller than 10 points, and as large as the desktop's text when that is
// larger: a row of the grid (350 twips) has room for them up to 14 points.
QFont namesFont()
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(std::clamp(font.pointSizeF(), 10.0, 14.0));
    return font;
}

// The letter strip's caption of a heading, as a reader says it: "A", "V/W".
QString headingLetters(const std::string& caption)
{
    QString text = fromCp(caption);
    if (text.startsWith(QLatin1String("- "))) text.remove(0, 2);
    if (text.endsWith(QLatin1String(" -"))) text.chop(2);
    return text;
}

}  // namespace

QFont headingFont()
{
    return theme::headingFont();
}

// The one widget that shows the labels: it paints the few on screen and turns mouse events
// into label hits, so 20,000 names cost no more than twenty. A screen reader is given the
// labels as a list: the headings as headings, the names as entries it can open, edit, move,
// upload or delete as a drop on the buttons would.
class NameCanvas : public QWidget, public PaintedList {
public:
    NameCanvas(RecipeBrowser& browser, QWidget* parent)
        : QWidget(parent),
          browser_(browser),
          nameFont_(namesFont()),
          headingFont_(gui::headingFont())
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

    const QFont& nameFont() const { return nameFont_; }
    const QFont& headingFont() const { return headingFont_; }

    // The labels were placed anew or one was hidden: the reader's list is made again.
    void labelsChanged()
    {
        items_.reset();
        announceItemsChanged(this);
    }
    // The item of name label `nameIndex`, or -1.
    int itemOfName(int nameIndex) const
    {
        const Items& items = accessibleItems();
        const auto at = static_cast<std::size_t>(nameIndex);
        return nameIndex > 0 && at < items.ofName.size() ? items.ofName[at] : -1;
    }

    int paintedItemCount() const override
    {
        return static_cast<int>(accessibleItems().labels.size());
    }

    Item paintedItem(int index) const override
    {
        const LabelRef ref = labelOfItem(index);
        const BrowserLayout& layout = browser_.layout_;
        Item item;
        if (!ref) return item;
        item.heading = ref.kind == LabelKind::Heading;
        item.text = item.heading ? headingLetters(layout.caption(ref)) : fromCp(layout.caption(ref));
        if (layout.isShown(ref)) item.rect = browser_.labelRect(ref).translated(-pos());
        item.selected = !item.heading && ref.index == browser_.focusName_;
        return item;
    }

    int currentPaintedItem() const override { return itemOfName(browser_.focusName_); }

    QStringList paintedItemActions(int index) const override
    {
        const LabelRef ref = labelOfItem(index);
        if (ref.kind != LabelKind::Name) return {};
        QStringList actions = {QAccessibleActionInterface::pressAction(),
                               QAccessibleActionInterface::setFocusAction()};
        for (const auto& [button, action] : kDropActions) {
            const DropTarget* target = RecipeBrowser::dropTarget(QLatin1String(button));
            if (target && browser_.dropTargetAvailable(*target)) actions << QLatin1String(action);
        }
        return actions;
    }

    void doPaintedItemAction(int index, const QString& action) override
    {
        const LabelRef ref = labelOfItem(index);
        if (ref.kind != LabelKind::Name) return;
        if (action == QAccessibleActionInterface::pressAction()) {
            showRecipe(browser_.app_, browser_.layout_.caption(ref));
        } else if (action == QAccessibleActionInterface::setFocusAction()) {
            browser_.focusOnName(ref.index);
        } else {
            for (const auto& [button, name] : kDropActions) {
                if (action != QLatin1String(name)) continue;
                browser_.dragIndex_ = ref.index;
                browser_.dropOn(QLatin1String(button));
            }
        }
    }

    QString paintedSummary() const override { return browser_.count_->text(); }

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
                // The keyboard's name wears a ring while the names have the focus.
                if (hasFocus() && ref.index == browser_.focusName_) {
                    p.save();
                    p.setRenderHint(QPainter::Antialiasing);
                    p.setPen(QPen(theme::kFocus, 1.5));
                    p.setBrush(Qt::NoBrush);
                    p.drawRoundedRect(QRectF(r).adjusted(-3, -1, 3, 1), 4, 4);
                    p.restore();
                }
            }
        }
    }

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            const QString tip = browser_.toolTipAt(mapToParent(help->pos()));
            if (tip.isEmpty()) {
                QToolTip::hideText();
                event->ignore();
            } else {
                QToolTip::showText(help->globalPos(), tip, this);
            }
            return true;
        }
        return QWidget::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!browser_.keyOnNames(event)) QWidget::keyPressEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QWidget::focusInEvent(event);
        update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QWidget::focusOutEvent(event);
        update();
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
    using DropTarget = RecipeBrowser::DropTarget;
    // The reader's names for what a drop on each target button does.
    static constexpr std::array<std::pair<const char*, const char*>, 4> kDropActions = {{
        {"Command3", "Edit"}, {"Command5", "Move"}, {"Command6", "Upload"}, {"Command9", "Delete"}}};

    // The visible labels in list order, and the item of each name label; made when a reader
    // first asks and kept until the labels change.
    struct Items {
        std::vector<LabelRef> labels;
        std::vector<int> ofName;
    };
    const Items& accessibleItems() const
    {
        if (!items_) {
            Items made;
            made.labels = browser_.layout_.visibleLabels();
            made.ofName.assign(static_cast<std::size_t>(browser_.layout_.nameCount()) + 1, -1);
            for (std::size_t i = 0; i < made.labels.size(); ++i) {
                if (made.labels[i].kind == LabelKind::Name) {
                    made.ofName[static_cast<std::size_t>(made.labels[i].index)] =
                        static_cast<int>(i);
                }
            }
            items_ = std::move(made);
        }
        return *items_;
    }
    LabelRef labelOfItem(int index) const
    {
        const Items& items = accessibleItems();
        if (index < 0 || index >= static_cast<int>(items.labels.size())) return {};
        return items.labels[static_cast<std::size_t>(index)];
    }

    RecipeBrowser& browser_;
    QFont nameFont_;
    QFont headingFont_;
    mutable std::optional<Items> items_;
};

RecipeBrowser::RecipeBrowser(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kBrowser);
    setWindowTitle(QStringLiteral("Recipes"));
    background_ = loadPicture(app.state, QStringLiteral("recept.gif"));
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

QPushButton* RecipeBrowser::addButton(const char* name, const QString& caption, const QString& tip,
                                      QWidget* parent)
{
    auto* button = new QPushButton(caption, parent ? parent : this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void RecipeBrowser::buildControls()
{
    setStyleSheet(theme::paperButtonStyle());

    canvas_ = new NameCanvas(*this, this);
    canvas_->setObjectName(QStringLiteral("labels"));  // where ratt and bokstav are painted
    canvas_->setGeometry(kCanvasRect);

    bar_ = new QLabel(this);
    bar_->setObjectName(QStringLiteral("Label3"));
    bar_->hide();

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("label4"));
    count_->setAlignment(Qt::AlignCenter);
    QFont countFont = namesFont();
    countFont.setItalic(true);
    count_->setFont(countFont);
    // Standing on the names' canvas, as high as its font needs.
    const int countHeight = std::max(kCountRect.height(), QFontMetrics(countFont).height());
    count_->setGeometry(kCountRect.left(), kCountRect.bottom() + 1 - countHeight,
                        kCountRect.width(), countHeight);
    theme::setInk(count_, theme::kSoftInk);
    buildFindField();

    // The letter strip: one group for a reader, a tool bar of 25 letters in which the letter the
    // first column begins in is checked.
    letters_ = new QWidget(this);
    letters_->setObjectName(QStringLiteral("letters"));
    setAccessibleRole(letters_, QAccessible::ToolBar);
    std::vector<TwipRect> letterPlaces;
    std::vector<int> letterNeeds;
    for (int i = 0; i < kLetterCount; ++i) {
        QPushButton* letter = addButton(
            QStringLiteral("Command10(%1)").arg(i).toLatin1().constData(), letterCaption(i), {},
            letters_);
        letter->setProperty("letter", true);
        letter->setCheckable(true);
        letter->setAccessibleDescription(
            QStringLiteral("Show the recipes under %1")
                .arg(i == kLetterV ? QStringLiteral("V and W") : letterCaption(i)));
        connect(letter, &QPushButton::clicked, this, [this, i] { pressLetter(i); });
        letterPlaces.push_back({kStripStep * i, 0, kStripSize, kStripSize});
        letterNeeds.push_back(letter->sizeHint().width());
    }
    const std::vector<TwipRect> letterRow = fitRow(letterPlaces, letterNeeds);
    for (int i = 0; i < kLetterCount; ++i) {
        const TwipRect& r = letterRow[static_cast<std::size_t>(i)];
        letterButton(i)->setGeometry(r.left, r.top, r.width, r.height);
    }
    const int letterWidth = letterRow.back().left + letterRow.back().width;
    letters_->setGeometry(kStripLeft, kStripTop, letterWidth, kStripSize);

    // The button row: the arrows at both ends, "New recipe", the four drop targets, "Options >".
    // A button whose caption does not fit its place in the desktop's font grows and moves the
    // ones after it along; the window grows with the row when it must.
    std::vector<QPushButton*> row;
    std::vector<TwipRect> places;
    std::vector<int> needs;
    for (const RowButton& place : rowButtons()) {
        QPushButton* button =
            addButton(place.name, QString::fromUtf8(place.caption), QString::fromUtf8(place.tip));
        connect(button, &QPushButton::clicked, this, place.clicked);
        if (const DropTarget* target = dropTarget(button->objectName())) {
            button->setAcceptDrops(true);
            button->installEventFilter(this);
            // A target whose window the program does not have yet is drawn without its dashed
            // border, and a name dragged over it is refused.
            button->setProperty("dropTarget", dropTargetAvailable(*target));
        }
        row.push_back(button);
        places.push_back({place.left, kButtonTop, place.width, kButtonHeight});
        needs.push_back(button->sizeHint().width());
    }
    const std::vector<TwipRect> placed = fitRow(places, needs);
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i]->setGeometry(placed[i].left, placed[i].top, placed[i].width, placed[i].height);
    }
    const int rowRight = placed.back().left + placed.back().width;
    const int stripRight = kStripLeft + letterWidth;
    const int needed = std::max(rowRight, stripRight) + (kPictureWidth - kRowRight);
    if (needed > width()) setFixedSize(needed, height());
    auto* newRecipe = findChild<QPushButton*>(QStringLiteral("Command2"));
    // Greyed out rather than doing nothing while the program has no recipe editor.
    newRecipe->setEnabled(app_.windows.hasFactory(forms::kNewRecipe));
    optionsButton_ = findChild<QPushButton*>(QStringLiteral("Command12"));

    // Command7 takes the keyboard focus out of sight, so no button shows a focus frame and
    // Enter presses nothing.
    focusSink_ = new QPushButton(this);
    focusSink_->setObjectName(QStringLiteral("Command7"));
    focusSink_->setGeometry(twips(-1200), kButtonTop, 40, kButtonHeight);
    // The focus it takes goes on to the names, so the keyboard can walk them at once.
    focusSink_->setFocusProxy(canvas_);
    hideFromScreenReaders(focusSink_);

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

void RecipeBrowser::buildFindField()
{
    // On the count's line, at the right: the count keeps the rest of the line.
    findField_ = new QLineEdit(this);
    findField_->setObjectName(QStringLiteral("txtFind"));
    findField_->setPlaceholderText(QStringLiteral("Find a recipe"));
    findField_->setClearButtonEnabled(true);
    findField_->setToolTip(QStringLiteral(
        "Type a part of a recipe's name (Ctrl+F comes here). Enter opens the first recipe found, "
        "Escape shows all recipes again."));
    findField_->setAccessibleName(QStringLiteral("Find a recipe"));
    findField_->setAccessibleDescription(
        QStringLiteral("Shows only the recipes that hold what you type; Enter opens the first, "
                       "Escape shows them all"));
    findField_->setFont(namesFont());
    findField_->installEventFilter(this);
    connect(findField_, &QLineEdit::textChanged, this, &RecipeBrowser::applyFind);
    // Ctrl+F, as in every program that finds: from the names or the buttons to the field.
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    findKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(findKey, &QShortcut::activated, this, [this] {
        findField_->setFocus(Qt::ShortcutFocusReason);
        findField_->selectAll();
    });

    everywhereBox_ = new QCheckBox(QStringLiteral("Every word"), this);
    everywhereBox_->setObjectName(QStringLiteral("chkEverywhere"));
    everywhereBox_->setToolTip(QStringLiteral(
        "Look through every line of the recipes (ingredients, instructions, servings, time and "
        "type), not only their names"));
    everywhereBox_->setAccessibleDescription(
        QStringLiteral("Find the text in every line of the recipes, not only in their names"));
    everywhereBox_->setFont(namesFont());
    everywhereBox_->setCursor(Qt::PointingHandCursor);
    connect(everywhereBox_, &QCheckBox::toggled, this, [this] {
        applyFind();
        findField_->setFocus();
    });

    const int height = std::max(22, findField_->sizeHint().height());
    const int top = kCountRect.bottom() + 1 - height;
    const int boxWidth = everywhereBox_->sizeHint().width();
    const int fieldWidth = 150;
    const int boxLeft = kCanvasRect.right() + 1 - boxWidth;
    everywhereBox_->setGeometry(boxLeft, top, boxWidth, height);
    findField_->setGeometry(boxLeft - 8 - fieldWidth, top, fieldWidth, height);
    count_->setGeometry(kCountRect.left(), count_->y(),
                        findField_->x() - 8 - kCountRect.left(), count_->height());
}

// --- Finding -------------------------------------------------------------------------------

void RecipeBrowser::applyFind()
{
    hideBar();
    focusName_ = 0;
    const QString typed = findField_->text();
    if (typed.isEmpty()) {
        layout_.filterNames({});
    } else {
        std::vector<char> keep(static_cast<std::size_t>(layout_.nameCount()) + 1, 0);
        // A character the cookbook cannot hold is in none of its recipes.
        if (auto query = toCp(typed)) {
            readForFinding();
            const auto mode = everywhereBox_->isChecked() ? search::FindMode::Everywhere
                                                          : search::FindMode::Names;
            for (std::size_t ordinal : finder_->find(*query, mode)) {
                const int label = labelOfRecord(finder_->key(ordinal));
                if (label > 0) keep[static_cast<std::size_t>(label)] = 1;
            }
        }
        layout_.filterNames(keep);
    }
    showCount();
    updateLetters();
    canvas_->labelsChanged();
    afterScroll();
}

void RecipeBrowser::readForFinding()
{
    if (finder_) return;
    WaitCursor wait;
    auto content = app_.state.folder.read(app_.state.currentCookbookFile);
    finder_.emplace(content ? search::RecipeFinder(*content) : search::RecipeFinder());
    labelsOfName_.clear();
    for (int i = 1; i <= layout_.nameCount(); ++i) {
        const BrowserLabel label = layout_.name(i);
        if (label.visible) labelsOfName_[label.caption].push_back(i);
    }
}

int RecipeBrowser::labelOfRecord(store::RecordKey key)
{
    const auto it = labelsOfName_.find(std::string(key.name));
    if (it == labelsOfName_.end() || key.occurrence >= it->second.size()) return -1;
    const int label = it->second[key.occurrence];
    // A label hidden since (a recipe deleted or moved) is found no more.
    return layout_.name(label).visible ? label : -1;
}

void RecipeBrowser::clearFind()
{
    findField_->clear();
}

bool RecipeBrowser::openFirstFound()
{
    if (!layout_.isFiltered()) return false;
    const int first = layout_.firstGridName();
    if (first == 0) return false;
    const store::RecordKey record = recordOf(first);
    showRecipe(app_, std::string(record.name), record.occurrence);
    return true;
}

void RecipeBrowser::showCount()
{
    if (!layout_.isFiltered()) {
        count_->setText(countText_);
        return;
    }
    count_->setText(QStringLiteral("Found %1 of %2 recipes")
                        .arg(layout_.gridNameCount())
                        .arg(recipeCount_));
}

void RecipeBrowser::updateLetters()
{
    for (int i = 0; i < kLetterCount; ++i) {
        letterButton(i)->setEnabled(!layout_.isFiltered() ||
                                    layout_.isVisible({LabelKind::Heading, i + 1}));
    }
}

// --- The list ------------------------------------------------------------------------------

void RecipeBrowser::setRecipeIndex(const store::RecipeIndex& index)
{
    list_ = index.entries;
    countText_ = fromCp(index.countText());
    recipeCount_ = index.count;
    // The cookbook changed: the next search reads it again.
    finder_.reset();
    labelsOfName_.clear();
    showCount();
}

void RecipeBrowser::placeLabels()
{
    layout_.place(list_);
    app_.state.headingCount = layout_.headingCount();
    app_.state.nameCount = layout_.nameCount();
    canvas_->labelsChanged();
    afterScroll();
    if (!findField_->text().isEmpty()) applyFind();
}

void RecipeBrowser::hideNameLabel(int index)
{
    if (index == barName_) hideBar();
    layout_.hideName(index);
    showCount();
    canvas_->labelsChanged();
    canvas_->update();
}

int RecipeBrowser::findNameLabel(const std::string& name) const
{
    return layout_.findName(name);
}

int RecipeBrowser::findRecordLabel(const std::string& name, std::size_t occurrence) const
{
    return layout_.findName(name, occurrence);
}

store::RecordKey RecipeBrowser::recordOf(int nameIndex) const
{
    return {layout_.caption({LabelKind::Name, nameIndex}), layout_.occurrenceOf(nameIndex)};
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

bool RecipeBrowser::isElided(int nameIndex) const
{
    const QString text = fromCp(layout_.caption({LabelKind::Name, nameIndex}));
    return QFontMetrics(canvas_->nameFont()).horizontalAdvance(text) > twips(kNameRoom);
}

QString RecipeBrowser::toolTipAt(const QPoint& windowPos) const
{
    const LabelRef ref = labelAt(windowPos);
    if (ref.kind != LabelKind::Name || !isElided(ref.index)) return {};
    return fromCp(layout_.caption(ref));
}

QString RecipeBrowser::barText() const
{
    return bar_->isVisible() ? bar_->text() : QString();
}

void RecipeBrowser::showBar(int nameIndex)
{
    const LabelSizes sizes = labelSizes();
    const int width = labelWidth({LabelKind::Name, nameIndex});
    const TwipRect bar = layout_.hoverBar(nameIndex, width, sizes.nameHeight);
    const bool pressed = pressed_ && nameIndex == dragIndex_;
    const QColor& ink = pressed ? kPressedColour : kNameColour;
    if (isElided(nameIndex)) {
        // A name cut short on screen is written out in full on the bar, so it can be read.
        const QString text = fromCp(layout_.caption({LabelKind::Name, nameIndex}));
        bar_->setText(text);
        bar_->setFont(canvas_->nameFont());
        bar_->setStyleSheet(theme::nameBarStyle(ink, true));
        const QSize needed = bar_->sizeHint();
        const int left =
            std::clamp(twips(bar.left), 0, std::max(0, this->width() - needed.width()));
        bar_->setGeometry(left, twips(bar.top - kGridLift), needed.width(), needed.height());
    } else {
        bar_->clear();
        bar_->setStyleSheet(theme::nameBarStyle(ink, false));
        bar_->setGeometry(twips(bar.left), twips(bar.top - kGridLift), twips(bar.width),
                          std::max(2, twips(bar.height)));
    }
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

// --- The keyboard --------------------------------------------------------------------------

void RecipeBrowser::focusOnName(int nameIndex)
{
    if (nameIndex <= 0 || !layout_.isVisible({LabelKind::Name, nameIndex})) return;
    focusName_ = nameIndex;
    if (layout_.scrollIntoView({LabelKind::Name, nameIndex}) != 0) afterScroll();
    showBar(nameIndex);
    canvas_->update();
    announceCurrentItem(canvas_, canvas_->itemOfName(nameIndex));
}

bool RecipeBrowser::keyOnNames(QKeyEvent* event)
{
    using Step = BrowserLayout::NameStep;
    auto step = [this](Step s) { focusOnName(layout_.stepName(focusName_, s)); };
    const bool current = focusName_ > 0 && layout_.isVisible({LabelKind::Name, focusName_});
    switch (event->key()) {
    case Qt::Key_Up: step(Step::Previous); return true;
    case Qt::Key_Down: step(Step::Next); return true;
    case Qt::Key_Left: step(Step::PreviousColumn); return true;
    case Qt::Key_Right: step(Step::NextColumn); return true;
    case Qt::Key_Home: step(Step::First); return true;
    case Qt::Key_End: step(Step::Last); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current) {
            const store::RecordKey record = recordOf(focusName_);
            showRecipe(app_, std::string(record.name), record.occurrence);
        }
        return true;
    case Qt::Key_Delete:
        if (current) {
            const int deleted = focusName_;
            const int next = layout_.stepName(deleted, Step::Next) != deleted
                                 ? layout_.stepName(deleted, Step::Next)
                                 : layout_.stepName(deleted, Step::Previous);
            const store::RecordKey record = recordOf(deleted);
            const std::string name(record.name);
            if (DeleteRecipe(app_, store::RecordKey{name, record.occurrence}, deleted)) {
                focusName_ = next != deleted ? next : 0;
                if (focusName_) focusOnName(focusName_);
            }
            // The question took the focus; the names get it back.
            canvas_->setFocus();
        }
        return true;
    default: break;
    }
    const QString text = event->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typing) return false;
    // Letters typed within a second of each other make one word to jump to.
    if (!typedAt_.isValid() || typedAt_.elapsed() > 1000) typed_.clear();
    typedAt_.start();
    typed_ += text;
    auto prefix = toCp(typed_);
    if (!prefix) return true;
    // A first letter looks on from the name after the current one, so pressing it again
    // walks through the names of that letter.
    const int from = typed_.size() == 1 && current ? focusName_ + 1 : std::max(focusName_, 1);
    if (const int found = layout_.findNameStartingWith(*prefix, from)) focusOnName(found);
    return true;
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
    showRecipe(app_, draggedName(), draggedOccurrence());
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

const RecipeBrowser::DragIcons& RecipeBrowser::dragIcons() const
{
    if (!dragIcons_) {
        dragIcons_ =
            DragIcons{pictureOr(app_.state, QStringLiteral("pics/drag.gif"), DragIcon::Drag),
                      pictureOr(app_.state, QStringLiteral("pics/drop.gif"), DragIcon::Drop),
                      pictureOr(app_.state, QStringLiteral("pics/nodrop.gif"), DragIcon::NoDrop)};
    }
    return *dragIcons_;
}

QString RecipeBrowser::runPlatformDrag(int nameIndex)
{
    auto* mime = new QMimeData;
    mime->setData(dragFormat(),
                  QByteArray::fromStdString(layout_.caption({LabelKind::Name, nameIndex})));
    QDrag drag(canvas_);
    drag.setMimeData(mime);
    drag.setPixmap(dragIcon());
    // The picture hangs below and right of the pointer, which shows the drop or no-drop icon.
    drag.setHotSpot(QPoint(-10, -10));
    drag.setDragCursor(dropIcon(), Qt::MoveAction);
    drag.setDragCursor(noDropIcon(), Qt::IgnoreAction);
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

const std::vector<RecipeBrowser::RowButton>& RecipeBrowser::rowButtons()
{
    static const std::vector<RowButton> row = {
        {"Command8", "<", "Scroll left", 20, 30, &RecipeBrowser::scrollLeft},
        {"Command2", "New recipe", "Add a new recipe to your cookbook", 62, 96,
         &RecipeBrowser::openNewRecipe},
        {"Command3", "Edit", "Edit a recipe", 186, 66, &RecipeBrowser::refuseActionClick},
        {"Command5", "Move", "Move recipe to another cookbook", 258, 66,
         &RecipeBrowser::refuseActionClick},
        {"Command6", "Upload", "Upload a recipe", 330, 70, &RecipeBrowser::refuseActionClick},
        {"Command9", "Delete", "Delete a recipe", 406, 70, &RecipeBrowser::refuseActionClick},
        {"Command12", "Options >", "See some more options", 504, 94, &RecipeBrowser::popupOptions},
        {"Command4", ">", "Scroll right", 610, 30, &RecipeBrowser::scrollRight},
    };
    return row;
}

const RecipeBrowser::DropTarget* RecipeBrowser::dropTarget(const QString& objectName)
{
    // "Edit" and "Upload" open a window; "Move" and "Delete" work in the browser itself.
    static const std::array<DropTarget, 4> targets = {{
        {"Command3", forms::kEditRecipe, &RecipeBrowser::editDragged},
        {"Command5", QLatin1String(), &RecipeBrowser::moveDragged},
        {"Command6", forms::kUpload, &RecipeBrowser::uploadDragged},
        {"Command9", QLatin1String(), &RecipeBrowser::deleteDragged},
    }};
    for (const DropTarget& target : targets) {
        if (objectName == QLatin1String(target.button)) return &target;
    }
    return nullptr;
}

bool RecipeBrowser::isDropTarget(const QString& objectName)
{
    return dropTarget(objectName) != nullptr;
}

bool RecipeBrowser::dropTargetAvailable(const DropTarget& target) const
{
    return target.window.isEmpty() || app_.windows.hasFactory(target.window);
}

bool RecipeBrowser::eventFilter(QObject* watched, QEvent* event)
{
    // The cookbook is read for finding when the field takes the focus, so that the first
    // letter typed finds at once.
    if (watched == findField_ && event->type() == QEvent::FocusIn) readForFinding();
    if (watched == findField_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openFirstFound();
            return true;
        }
        if (key->key() == Qt::Key_Escape && !findField_->text().isEmpty()) {
            clearFind();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    const DropTarget* target = button ? dropTarget(button->objectName()) : nullptr;
    if (!target) return QWidget::eventFilter(watched, event);
    auto setHover = [button](bool on) {
        button->setProperty("dropHover", on);
        button->style()->unpolish(button);
        button->style()->polish(button);
    };
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        // A target that cannot act must not light up as if it took the name.
        if (!drag->mimeData()->hasFormat(dragFormat()) || !dropTargetAvailable(*target)) {
            drag->ignore();
            return true;
        }
        drag->setDropAction(Qt::MoveAction);
        drag->accept();
        if (event->type() == QEvent::DragEnter) setHover(true);
        return true;
    }
    case QEvent::DragLeave: setHover(false); return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        setHover(false);
        if (!drop->mimeData()->hasFormat(dragFormat()) || !dropTargetAvailable(*target)) {
            drop->ignore();
            return true;
        }
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
    const DropTarget* target = dropTarget(targetName);
    if (!target || !dropTargetAvailable(*target)) return;
    if (!layout_.isVisible({LabelKind::Name, dragIndex_})) return;
    (this->*(target->dropped))();
}

std::string RecipeBrowser::draggedName() const
{
    return layout_.caption({LabelKind::Name, dragIndex_});
}

std::size_t RecipeBrowser::draggedOccurrence() const
{
    return layout_.occurrenceOf(dragIndex_);
}

void RecipeBrowser::editDragged()
{
    app_.state.editRecipe = draggedName();
    app_.state.editOccurrence = draggedOccurrence();
    app_.windows.open(forms::kEditRecipe);
}

void RecipeBrowser::moveDragged()
{
    app_.state.moveIndex = dragIndex_;
    app_.state.dragRecipe = draggedName();
    app_.state.dragOccurrence = draggedOccurrence();
    openDestinationChooser(app_, ChooserMode::Move, moveTimer_);
}

void RecipeBrowser::uploadDragged()
{
    update();
    app_.state.dragRecipe = draggedName();
    app_.state.dragOccurrence = draggedOccurrence();
    app_.windows.open(forms::kUpload);
}

void RecipeBrowser::deleteDragged()
{
    const std::string name = draggedName();
    DeleteRecipe(app_, store::RecordKey{name, draggedOccurrence()}, dragIndex_);
}

// --- The move ------------------------------------------------------------------------------

void RecipeBrowser::moveTimerFired()
{
    moveTimer_->stop();
    ShellState& state = app_.state;
    const std::string name = state.dragRecipe;
    const store::RecordKey key{name, state.dragOccurrence};
    auto report = [this](const QString& text) {
        app_.services.prompter.inform(text, QStringLiteral("Error"), MessageIcon::Exclamation);
    };

    auto moved = store::CookbookList(state.folder)
                     .moveRecipe(state.currentCookbookFile, state.targetBookTitle, key);
    if (!moved) return report(toQString(moved.error()));
    if (*moved == store::CookbookList::MoveOutcome::SameCookbook) return;
    recipeRemoved(app_, state.moveIndex, key);
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
    // A click checks the letter it is on; the strip shows where the columns really begin.
    showCurrentLetter();
    focusSink();
}

QPushButton* RecipeBrowser::letterButton(int index) const
{
    return letters_->findChild<QPushButton*>(QStringLiteral("Command10(%1)").arg(index));
}

void RecipeBrowser::showCurrentLetter()
{
    const int current = layout_.firstShownHeading() - 1;
    for (int i = 0; i < kLetterCount; ++i) letterButton(i)->setChecked(i == current);
}

void RecipeBrowser::afterScroll()
{
    showCurrentLetter();
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
        // A window grown for large captions stretches the page with it.
        p.drawPixmap(rect(), background_);
        return;
    }
    // Without recept.gif: a plain page with the same rules, so the window still reads well.
    p.fillRect(rect(), kPaper);
    p.fillRect(QRect(0, 0, width(), 3), theme::browser::kTopRule);
    p.setPen(theme::browser::kHeadingRule);
    p.drawLine(18, 38, width() - 18, 38);
    p.setPen(theme::browser::kFootRule);
    p.drawLine(18, 374, width() - 18, 374);
    p.fillRect(QRect(0, height() - 24, width(), 24), theme::browser::kFoot);
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
