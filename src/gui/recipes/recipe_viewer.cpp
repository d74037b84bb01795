#include "gui/recipes/recipe_viewer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QWheelEvent>

#include <algorithm>

#include "core/recipes/recipe_view.h"
#include "core/recipes/scaling.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/picture_routines.h"
#include "gui/recipes/recipe_page_export.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

// The occurrence of a recipe on show that has left the cookbook: no recipe has it.
constexpr std::size_t kGone = static_cast<std::size_t>(-1);

constexpr qreal kIngredientPoints = 12.0;
constexpr qreal kInstructionPoints = 9.75;
constexpr qreal kZoomStepPoints = 2.0;
// Doubling the label's height on every "Zoom in" must stop short of overflowing an int.
constexpr int kMaxIngredientHeight = 1 << 28;

// The open-book picture: its size, and where the pages lie on it.
constexpr QSize kBookSize(720, 470);
constexpr QRect kLeftPage(28, 22, 324, 426);
constexpr QRect kRightPage(368, 22, 324, 426);

using theme::kAccent;
using theme::kInk;
using theme::kSoftInk;
using theme::kTitleInk;
using theme::sansFont;
using theme::serifFont;
using theme::setInk;

// The name's font: bold, 12 points when the name fits, down to this when it is long.
constexpr qreal kNamePoints = 12.0;
constexpr qreal kSmallestNamePoints = 7.0;

// A multi-line field as a label shows it: lines apart, no empty line after the last.
QString shownText(const std::string& cp1252)
{
    QString text = fromCp(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

// Picture1: boken.gif, or a plain book drawn in the same places when the file is missing.
class BookPicture : public QWidget {
public:
    BookPicture(QPixmap picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture))
    {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(picture_.isNull() ? kBookSize : picture_.deviceIndependentSize().toSize());
    }

    // The pages hold the texts and buttons: a picture too small for them is no use.
    static bool fits(const QPixmap& picture)
    {
        const QSize size = picture.deviceIndependentSize().toSize();
        return size.width() >= kBookSize.width() && size.height() >= kBookSize.height();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (picture_.isNull()) {
            paintPlainBook(painter);
        } else {
            painter.drawPixmap(0, 0, picture_);
        }
        // A thin rule under the name, servings and time.
        painter.setPen(QPen(theme::book::kNameRule, 1.2));
        const int y = kLeftPage.top() + 104;
        painter.drawLine(kLeftPage.left() + 40, y, kLeftPage.right() - 40, y);
    }

private:
    void paintPlainBook(QPainter& painter)
    {
        painter.fillRect(rect(), theme::book::kTable);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::book::kCover);
        painter.drawRoundedRect(QRectF(rect()).adjusted(10, 8, -10, -8), 10, 10);
        for (const QRect& page : {kLeftPage, kRightPage}) {
            QLinearGradient paper(page.topLeft(), page.topRight());
            const bool left = page == kLeftPage;
            paper.setColorAt(left ? 0.0 : 1.0, theme::book::kPageLight);
            paper.setColorAt(left ? 1.0 : 0.0, theme::book::kPageShade);
            painter.setBrush(paper);
            painter.drawRect(page);
        }
        painter.setBrush(theme::book::kSpine);
        painter.drawRect(QRect(kLeftPage.right() + 1, kLeftPage.top(),
                               kRightPage.left() - kLeftPage.right() - 1, kLeftPage.height()));
    }

    QPixmap picture_;
};

// Small drawn icons for the toolbar, in the colours of the book.
QIcon toolIcon(const QString& key)
{
    QPixmap pixmap(40, 40);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor& ink = theme::book::kToolInk;
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (key == QLatin1String("Print")) {
        p.setBrush(theme::book::kToolPaper);
        p.drawRect(QRectF(6, 2.5, 8, 5));
        p.setBrush(theme::book::kToolPrinter);
        p.drawRoundedRect(QRectF(2.5, 7, 15, 7), 1.5, 1.5);
        p.setBrush(theme::book::kToolPaper);
        p.drawRect(QRectF(6, 11.5, 8, 6));
        p.drawLine(QPointF(7.5, 14), QPointF(12.5, 14));
    } else if (key == QLatin1String("Edit")) {
        p.setBrush(theme::book::kToolYellow);
        QPolygonF pencil;
        pencil << QPointF(4, 16) << QPointF(5, 12) << QPointF(14, 3) << QPointF(17, 6)
               << QPointF(8, 15);
        p.drawPolygon(pencil);
        p.drawLine(QPointF(12, 5), QPointF(15, 8));
    } else if (key == QLatin1String("Search")) {
        p.setBrush(theme::book::kToolPaper);
        p.drawEllipse(QPointF(8.5, 8.5), 5, 5);
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.3, 12.3), QPointF(17, 17));
    } else if (key == QLatin1String("Picture")) {
        p.setBrush(theme::book::kToolPaper);
        p.drawRoundedRect(QRectF(2.5, 4, 15, 12), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(theme::book::kToolYellow);
        p.drawEllipse(QPointF(7, 8), 1.8, 1.8);
        p.setBrush(theme::book::kToolHill);
        QPolygonF hill;
        hill << QPointF(3.5, 15) << QPointF(8.5, 10) << QPointF(11, 12.5) << QPointF(13, 10.5)
             << QPointF(16.5, 15);
        p.drawPolygon(hill);
    } else if (key == QLatin1String("Delete")) {
        p.setBrush(theme::book::kToolBin);
        p.drawRoundedRect(QRectF(5, 6, 10, 11.5), 1.5, 1.5);
        p.drawLine(QPointF(3, 5), QPointF(17, 5));
        p.drawLine(QPointF(8, 3), QPointF(12, 3));
        p.drawLine(QPointF(8.5, 8.5), QPointF(8.5, 15));
        p.drawLine(QPointF(11.5, 8.5), QPointF(11.5, 15));
    } else if (key == QLatin1String("Upload")) {
        p.setPen(QPen(theme::book::kToolArrow, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10, 13), QPointF(10, 3.5));
        p.drawLine(QPointF(6, 7.5), QPointF(10, 3.5));
        p.drawLine(QPointF(14, 7.5), QPointF(10, 3.5));
        p.setPen(pen);
        p.drawLine(QPointF(3.5, 13), QPointF(3.5, 17));
        p.drawLine(QPointF(3.5, 17), QPointF(16.5, 17));
        p.drawLine(QPointF(16.5, 17), QPointF(16.5, 13));
    } else if (key == QLatin1String("HTML")) {
        p.setBrush(theme::book::kToolPaper);
        p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
        p.drawEllipse(QRectF(6.5, 2.5, 7, 15));
        p.drawLine(QPointF(2.5, 10), QPointF(17.5, 10));
    }
    return QIcon(pixmap);
}

// Turns the mouse wheel over the ingredients into steps of their scroll bar.
class WheelToScrollBar : public QObject {
public:
    WheelToScrollBar(QScrollBar* bar, QObject* parent) : QObject(parent), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel) {
            QCoreApplication::sendEvent(bar_, event);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QScrollBar* bar_;
};

}  // namespace

RecipeViewer::RecipeViewer(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kViewer);
    setWindowTitle(QStringLiteral("Read recipe: ") + fromCp(app_.state.selectedRecipe));
    setWindowIcon(loadPicture(app_.state, QStringLiteral("pics/culvora-48.png")));

    buildToolbar();
    QPixmap picture = loadPicture(app_.state, QStringLiteral("boken.gif"));
    if (!BookPicture::fits(picture)) picture = QPixmap();
    if (!picture.isNull()) {
        // The table the book lies on goes on around it: its grain runs across, so a thin
        // strip of the picture's edge repeats seamlessly.
        const qreal ratio = picture.devicePixelRatio();
        tableStrip_ = picture.copy(0, 0, qRound(6 * ratio), picture.height());
        tableStrip_.setDevicePixelRatio(ratio);
    }
    book_ = new BookPicture(picture, this);

    // 500 twips wider and 1200 higher than the picture, the picture centred and 100 twips
    // lower; never under the toolbar.
    const QSize pictureSize = book_->size();
    const QSize windowSize(pictureSize.width() + twips(500), pictureSize.height() + twips(1200));
    const TwipRect centred =
        CenterInside({0, 0, toTwips(pictureSize.width()), toTwips(pictureSize.height())},
                     toTwips(windowSize.width()), toTwips(windowSize.height()));
    const int toolbarHeight = toolbar_->sizeHint().height();
    const int top = std::max(twips(centred.top + 100), toolbarHeight + 4);
    // A toolbar wider than that (large text) widens the window, the book centred in it.
    const int wide = std::max(windowSize.width(), toolbar_->sizeHint().width());
    book_->move(twips(centred.left) + (wide - windowSize.width()) / 2, top);
    setFixedSize(wide, std::max(windowSize.height(), top + pictureSize.height() + 8));
    toolbar_->setGeometry(0, 0, width(), toolbarHeight);

    buildPages();
    fillView();
}

void RecipeViewer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (tableStrip_.isNull()) {
        painter.fillRect(rect(), theme::book::kTable);
        return;
    }
    const QSize tile = tableStrip_.deviceIndependentSize().toSize();
    const auto wrap = [](int v, int n) { return n > 0 ? ((v % n) + n) % n : 0; };
    painter.drawTiledPixmap(
        rect(), tableStrip_,
        QPoint(wrap(-book_->x(), tile.width()), wrap(-book_->y(), tile.height())));
}

void RecipeViewer::buildToolbar()
{
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setIconSize(QSize(20, 20));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->setStyleSheet(theme::toolbarStyle());
    for (const ToolbarKey& k : toolbarKeys()) {
        if (!k.key) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(k.key);
        QAction* action = toolbar_->addAction(toolIcon(key), key);
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(k.tip));
        connect(action, &QAction::triggered, this, [this, key] { runToolbarAction(key); });
    }
}

void RecipeViewer::buildPages()
{
    // The pages lie where the delivered book has them; a larger picture keeps them there.
    const QRect left = kLeftPage;
    const QRect right = kRightPage;
    const int margin = 20;
    const int innerWidth = left.width() - 2 * margin;

    nameLabel_ = new QLabel(book_);
    nameLabel_->setObjectName(QStringLiteral("Label1"));
    nameLabel_->setFont(sansFont(12, true));
    nameLabel_->setAlignment(Qt::AlignCenter);
    nameLabel_->setWordWrap(true);
    nameLabel_->setTextFormat(Qt::PlainText);
    setInk(nameLabel_, kTitleInk);
    nameLabel_->setGeometry(left.left() + margin, left.top() + 14, innerWidth, 46);

    // Servings and time under the name, one line each, so a long time is never cut.
    servingsLabel_ = new QLabel(book_);
    servingsLabel_->setObjectName(QStringLiteral("Label2"));
    timeLabel_ = new QLabel(book_);
    timeLabel_->setObjectName(QStringLiteral("Label3"));
    int lineTop = left.top() + 60;
    for (QLabel* label : {servingsLabel_, timeLabel_}) {
        label->setTextFormat(Qt::PlainText);
        QFont font = serifFont(10.5);
        font.setItalic(true);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        setInk(label, kSoftInk);
        label->setGeometry(left.left() + margin, lineTop, innerWidth, 18);
        lineTop += 18;
    }

    // The servings box at the right end of the servings line.
    servingsBox_ = new QSpinBox(book_);
    servingsBox_->setObjectName(QStringLiteral("spnServings"));
    servingsBox_->setFont(sansFont(9, false));
    servingsBox_->setAccessibleName(QStringLiteral("Servings"));
    servingsBox_->setAccessibleDescription(
        QStringLiteral("Shows the ingredients for this many servings; the recipe is not changed"));
    servingsBox_->setKeyboardTracking(false);
    const int boxWidth = std::max(54, servingsBox_->sizeHint().width());
    const int boxHeight = std::max(20, servingsBox_->sizeHint().height());
    servingsBox_->setGeometry(left.left() + margin + innerWidth - boxWidth,
                              servingsLabel_->y() + servingsLabel_->height() - boxHeight + 1,
                              boxWidth, boxHeight);
    servingsBox_->setEnabled(false);
    connect(servingsBox_, &QSpinBox::valueChanged, this, &RecipeViewer::showServings);

    // Picture3 clips Text1; VScroll1 moves it up and down inside.
    const int scrollWidth = 12;
    ingredientFrame_ = new QWidget(book_);
    ingredientFrame_->setObjectName(QStringLiteral("Picture3"));
    ingredientFrame_->setGeometry(left.left() + margin, left.top() + 114,
                                  innerWidth - scrollWidth - 6, left.height() - 114 - 58);
    ingredientText_ = new QLabel(ingredientFrame_);
    ingredientText_->setObjectName(QStringLiteral("Text1"));
    ingredientText_->setTextFormat(Qt::PlainText);
    ingredientText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ingredientText_->setWordWrap(true);
    ingredientText_->setFont(serifFont(kIngredientPoints));
    setInk(ingredientText_, kInk);

    ingredientScroll_ = new QScrollBar(Qt::Vertical, book_);
    ingredientScroll_->setObjectName(QStringLiteral("VScroll1"));
    ingredientScroll_->setStyleSheet(theme::scrollBarStyle());
    ingredientScroll_->setGeometry(ingredientFrame_->geometry().right() + 7, ingredientFrame_->y(),
                                   scrollWidth, ingredientFrame_->height());
    connect(ingredientScroll_, &QScrollBar::valueChanged, this, &RecipeViewer::scrollIngredients);
    auto* wheel = new WheelToScrollBar(ingredientScroll_, this);
    ingredientFrame_->installEventFilter(wheel);
    ingredientText_->installEventFilter(wheel);

    instructionBox_ = new QPlainTextEdit(book_);
    instructionBox_->setObjectName(QStringLiteral("Text2"));
    instructionBox_->setReadOnly(true);
    instructionBox_->setFont(serifFont(kInstructionPoints));
    instructionBox_->setFrameShape(QFrame::NoFrame);
    instructionBox_->setStyleSheet(theme::instructionBoxStyle());
    instructionBox_->setGeometry(right.left() + margin, right.top() + 18, innerWidth,
                                 right.height() - 18 - 58);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, book_);
        b->setObjectName(QLatin1String(name));
        b->setFont(sansFont(9, false));
        b->setCursor(Qt::PointingHandCursor);
        b->setStyleSheet(theme::bookButtonStyle());
        return b;
    };
    backButton_ = button("Command8", QStringLiteral("Back"));
    forwardButton_ = button("Command7", QStringLiteral("Forward"));
    zoomInButton_ = button("Command9", QStringLiteral("Zoom in"));
    zoomOutButton_ = button("Command10", QStringLiteral("Zoom out"));
    backButton_->setToolTip(QStringLiteral("The previous recipe of the cookbook"));
    forwardButton_->setToolTip(QStringLiteral("The next recipe of the cookbook"));
    zoomInButton_->setToolTip(QStringLiteral("Larger text"));
    zoomOutButton_->setToolTip(QStringLiteral("Text at its usual size"));
    const int buttonTop = left.bottom() - 42;
    backButton_->setGeometry(left.left() + margin, buttonTop, 96, 28);
    zoomInButton_->setGeometry(right.left() + margin, buttonTop, 84, 28);
    zoomOutButton_->setGeometry(right.left() + margin + 90, buttonTop, 84, 28);
    forwardButton_->setGeometry(right.right() - margin - 96 + 1, buttonTop, 96, 28);
    connect(backButton_, &QPushButton::clicked, this, &RecipeViewer::showPreviousRecipe);
    connect(forwardButton_, &QPushButton::clicked, this, &RecipeViewer::showNextRecipe);
    connect(zoomInButton_, &QPushButton::clicked, this, &RecipeViewer::zoomIn);
    connect(zoomOutButton_, &QPushButton::clicked, this, &RecipeViewer::zoomOut);
}

void RecipeViewer::fillView()
{
    ingredientText_->hide();
    instructionBox_->clear();
    ingredientText_->move(0, 0);
    ingredientHeight_ = recipes::kIngredientStartTwips;
    ingredientScroll_->setValue(0);

    WaitCursor wait;
    shownName_ = app_.state.selectedRecipe;
    shownOccurrence_ = app_.state.selectedOccurrence;
    // Back and Forward change the recipe on show: the caption goes with it.
    setWindowTitle(QStringLiteral("Read recipe: ") + fromCp(shownName_));
    recipes::RecipeTexts texts;
    auto page = recipes::readViewerPage(app_.state.folder, app_.state.currentCookbookFile,
                                        store::RecordKey{shownName_, shownOccurrence_});
    if (page) {
        texts = std::move(page->texts);
    } else {
        texts = recipes::missingRecipeTexts(
            shownName_, text::fromUtf8(page.error().message).value_or(std::string()));
    }
    showName(fromCp(texts.name));
    servingsLabel_->setText(fromCp(texts.servings));
    timeLabel_->setText(fromCp(texts.time));
    ingredientHeight_ = recipes::ingredientHeightTwips(texts.ingredientLines);
    ingredientText_->setText(shownText(texts.ingredients));
    QFont ingredientFont = ingredientText_->font();
    ingredientFont.setItalic(!texts.found);
    ingredientText_->setFont(ingredientFont);
    setInk(ingredientText_, texts.found ? kInk : kAccent);
    instructionBox_->setPlainText(shownText(texts.instructions));
    startServings(texts);

    layoutIngredients();
    ingredientText_->show();
    updateToolbar();
}

void RecipeViewer::startServings(const recipes::RecipeTexts& texts)
{
    shownRecord_.reset();
    ownServings_ = texts.found ? recipes::servingsOfShownText(texts.servings) : std::nullopt;
    const QSignalBlocker quiet(servingsBox_);
    if (ownServings_) {
        servingsBox_->setSpecialValueText(QString());
        servingsBox_->setRange(1, std::max(recipes::kMaxScaledServings, *ownServings_));
        servingsBox_->setValue(*ownServings_);
        servingsBox_->setEnabled(*ownServings_ <= recipes::kMaxScaledServings);
        servingsBox_->setToolTip(QStringLiteral(
            "Show the amounts for another number of servings (the recipe is not changed)"));
    } else {
        // Nothing to scale from: the box shows a dash and says why it is greyed out.
        servingsBox_->setRange(0, 0);
        servingsBox_->setSpecialValueText(QStringLiteral("\u2013"));
        servingsBox_->setEnabled(false);
        servingsBox_->setToolTip(
            texts.found
                ? QStringLiteral("The servings of this recipe are not a number, so its amounts "
                                 "cannot be scaled")
                : QStringLiteral("There is no recipe to scale"));
    }
}

void RecipeViewer::showServings(int servings)
{
    if (!ownServings_) return;
    if (!shownRecord_) {
        auto record = store::Cookbook(app_.state.folder, app_.state.currentCookbookFile)
                          .read(store::RecordKey{shownName_, shownOccurrence_});
        if (!record) {
            app_.services.prompter.inform(toQString(record.error()), QStringLiteral("Error"),
                                          MessageIcon::Exclamation);
            return;
        }
        shownRecord_ = std::move(*record);
    }
    const auto scaled = recipes::scaledRecord(*shownRecord_, servings);
    if (!scaled) return;
    const recipes::RecipeTexts texts = recipes::recipeTexts(*scaled);
    servingsLabel_->setText(fromCp(texts.servings));
    ingredientText_->setText(shownText(texts.ingredients));
    layoutIngredients();
}

int RecipeViewer::scaledServings() const
{
    if (!ownServings_ || !servingsBox_->isEnabled() || servingsBox_->value() == *ownServings_) {
        return 0;
    }
    return servingsBox_->value();
}

recipes::ShownRecipe RecipeViewer::shownRecipe() const
{
    // The labels hold what fillView converted from the file's bytes: it converts back whole.
    return {shownName_, toCp(servingsLabel_->text()).value_or(std::string()),
            toCp(timeLabel_->text()).value_or(std::string()), shownOccurrence_,
            scaledServings()};
}

void RecipeViewer::recordRemoved(const std::string& cookbookFile, std::string_view name,
                                 std::size_t occurrence)
{
    if (cookbookFile != app_.state.currentCookbookFile || name != shownName_) return;
    // The recipe on show itself gone: its page stays until the cook moves on, but Edit, Delete
    // and Print find nothing instead of the next recipe of the name.
    shownOccurrence_ = followRemoval(shownOccurrence_, occurrence).value_or(kGone);
}

const std::vector<RecipeViewer::ToolbarKey>& RecipeViewer::toolbarKeys()
{
    // In order, with the two separators; Delete works in the viewer itself, the others open
    // their window; the HTML page is saved from here.
    static const std::vector<ToolbarKey> keys = {
        {"Print", "Print the recipe and its grocery list", forms::kPrintout,
         &RecipeViewer::openWindowOf},
        {"Edit", "Change the recipe", forms::kEditRecipe, &RecipeViewer::editShownRecipe},
        {"Search", "Search recipes by cooking time and recipe type", forms::kSearch,
         &RecipeViewer::openSearch},
        {"Picture", "Show the picture of the dish", forms::kPicture,
         &RecipeViewer::showShownPicture},
        {nullptr, nullptr, QLatin1String(), nullptr},
        {"Delete", "Delete the recipe from the cookbook", QLatin1String(),
         &RecipeViewer::deleteShownRecipe},
        {nullptr, nullptr, QLatin1String(), nullptr},
        {"Upload", "Share the recipe with other users", forms::kUpload,
         &RecipeViewer::uploadShownRecipe},
        {"HTML", "Save the recipe as a web page", QLatin1String(),
         &RecipeViewer::saveShownAsWebPage},
    };
    return keys;
}

const RecipeViewer::ToolbarKey* RecipeViewer::toolbarKey(const QString& key)
{
    for (const ToolbarKey& k : toolbarKeys()) {
        if (k.key && key == QLatin1String(k.key)) return &k;
    }
    return nullptr;
}

bool RecipeViewer::keyAvailable(const ToolbarKey& key) const
{
    return key.run && (key.window.isEmpty() || app_.windows.hasFactory(key.window));
}

void RecipeViewer::updateToolbar()
{
    // A key whose window this program does not have is shown greyed out, not left to do nothing.
    for (QAction* action : toolbar_->actions()) {
        if (const ToolbarKey* key = toolbarKey(action->objectName())) {
            action->setEnabled(keyAvailable(*key));
        }
    }
}

void RecipeViewer::showName(const QString& name)
{
    // A long name gets a smaller font until it fits on its lines; one that does not fit even
    // then is cut short. Either way the whole name is the label's tool tip.
    const QRect box = nameLabel_->contentsRect();
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    auto fits = [&](const QFont& font, const QString& text) {
        const QRect needed =
            QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 100000), flags, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    QFont font = sansFont(kNamePoints, true);
    while (!fits(font, name) && font.pointSizeF() > kSmallestNamePoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    QString shown = name;
    if (!fits(font, shown)) {
        qsizetype keep = name.size();
        while (keep > 1 && !fits(font, shown)) {
            keep = keep * 9 / 10;
            shown = name.left(keep).trimmed() + QStringLiteral("\u2026");
        }
    }
    nameLabel_->setFont(font);
    nameLabel_->setText(shown);
    nameLabel_->setToolTip(font.pointSizeF() < kNamePoints || shown != name ? name : QString());
}

void RecipeViewer::layoutIngredients()
{
    const int width = ingredientFrame_->width();
    int needed = 0;
    if (!ingredientText_->text().isEmpty()) {
        needed = ingredientText_->heightForWidth(width);
        if (needed < 0) needed = ingredientText_->sizeHint().height();
    }
    const int height = std::max(twips(ingredientHeight_), needed);
    ingredientText_->resize(width, height);
    const auto range =
        recipes::ingredientScrollRange(toTwips(height), toTwips(ingredientFrame_->height()),
                                       toTwips(ingredientText_->fontMetrics().lineSpacing()));
    ingredientScroll_->setRange(0, range.maximum);
    ingredientScroll_->setSingleStep(range.singleStep);
    ingredientScroll_->setPageStep(range.pageStep);
    ingredientScroll_->setEnabled(range.maximum > 0);
    scrollIngredients(ingredientScroll_->value());
}

void RecipeViewer::scrollIngredients(int value)
{
    const bool shown = ingredientText_->isVisibleTo(this);
    ingredientText_->hide();
    ingredientText_->move(0, twips(recipes::ingredientTop(value)));
    if (shown) ingredientText_->show();
}

std::vector<std::string> RecipeViewer::recipeOrder() const
{
    auto names = store::Cookbook(app_.state.folder, app_.state.currentCookbookFile).names();
    return names ? store::sortedNames(std::move(*names)) : std::vector<std::string>{};
}

int RecipeViewer::listIndex() const
{
    // Equal names stand together, in file order: the n-th of them is the n-th record.
    const std::vector<std::string> order = recipeOrder();
    const int first = recipes::findEntry(order, shownName_);
    if (first < 0) return -1;
    const std::size_t at = static_cast<std::size_t>(first) + shownOccurrence_;
    if (shownOccurrence_ >= order.size() || at >= order.size() || order[at] != shownName_) {
        return -1;
    }
    return static_cast<int>(at);
}

void RecipeViewer::step(bool forward)
{
    auto next = recipes::readNeighbour(app_.state.folder, app_.state.currentCookbookFile,
                                       store::RecordKey{shownName_, shownOccurrence_},
                                       forward ? recipes::Step::Forward : recipes::Step::Back);
    if (!next || !*next) return;
    app_.state.selectedRecipe = (*next)->name;
    app_.state.selectedOccurrence = (*next)->occurrence;
    fillView();
}

void RecipeViewer::showNextRecipe()
{
    step(true);
}

void RecipeViewer::showPreviousRecipe()
{
    step(false);
}

void RecipeViewer::zoomIn()
{
    ingredientHeight_ = std::min(ingredientHeight_, kMaxIngredientHeight) * 2;
    for (QWidget* text :
         {static_cast<QWidget*>(ingredientText_), static_cast<QWidget*>(instructionBox_)}) {
        QFont font = text->font();
        font.setPointSizeF(font.pointSizeF() + kZoomStepPoints);
        text->setFont(font);
    }
    layoutIngredients();
}

void RecipeViewer::zoomOut()
{
    QFont ingredientFont = ingredientText_->font();
    ingredientFont.setPointSizeF(kIngredientPoints);
    ingredientText_->setFont(ingredientFont);
    QFont instructionFont = instructionBox_->font();
    instructionFont.setPointSizeF(kInstructionPoints);
    instructionBox_->setFont(instructionFont);
    layoutIngredients();
}

void RecipeViewer::runToolbarAction(const QString& key)
{
    const ToolbarKey* found = toolbarKey(key);
    if (!found || !keyAvailable(*found)) return;
    runningKey_ = found;
    (this->*(found->run))();
    runningKey_ = nullptr;
}

void RecipeViewer::openWindowOf()
{
    if (runningKey_) app_.windows.open(runningKey_->window);
}

void RecipeViewer::editShownRecipe()
{
    app_.state.editRecipe = shownName_;
    app_.state.editOccurrence = shownOccurrence_;
    // The editor closes the viewer itself when it loads; the browser goes too.
    if (app_.windows.open(forms::kEditRecipe)) app_.windows.close(forms::kBrowser);
}

void RecipeViewer::openSearch()
{
    if (app_.windows.open(forms::kSearch)) app_.windows.closeWindow(this);
}

void RecipeViewer::showShownPicture()
{
    showPicture(app_, shownName_);
}

void RecipeViewer::saveShownAsWebPage()
{
    // Label1 may show the name cut short; the page gets it whole.
    saveRecipePage(app_, {fromCp(shownName_), servingsLabel_->text(), timeLabel_->text(),
                          ingredientText_->text(), instructionBox_->toPlainText()});
}

void RecipeViewer::uploadShownRecipe()
{
    app_.state.dragRecipe = shownName_;
    app_.state.dragOccurrence = shownOccurrence_;
    app_.windows.open(forms::kUpload);
}

void RecipeViewer::deleteShownRecipe()
{
    RecipeBrowserLists* browser = recipeBrowser(app_, true);
    if (!browser) return;
    const int index = browser->findRecordLabel(shownName_, shownOccurrence_);
    if (index < 0) return;
    const std::string name = shownName_;
    DeleteRecipe(app_, store::RecordKey{name, shownOccurrence_}, index, DeleteFlag::Ask);
    // Whatever the answer: the recipe on show may be gone.
    app_.windows.closeWindow(this);
}

void registerViewerWindow(AppContext& app)
{
    app.windows.addFactory(forms::kViewer, [&app]() -> QWidget* {
        auto* viewer = new RecipeViewer(app);
        // The book has one size: nothing to maximise.
        app.windows.add(viewer, WindowKind::Fixed);
        app.windows.centerForm(viewer);
        return viewer;
    });
}

}  // namespace culvora::gui
