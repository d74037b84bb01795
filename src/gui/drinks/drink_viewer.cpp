#include "gui/drinks/drink_viewer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "core/app/product.h"
#include "core/text/text.h"
#include "gui/app/geometry.h"
#include "gui/app/printing.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/drinks/drink_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/glass_list.h"

namespace culvora::gui {

namespace {

constexpr QSize kPreferredSize(760, 480);
constexpr int kIndentTwips = 1500;
// The printer gets the face the screen asks for first.
constexpr const char* kPrintFace = "Arial";

QTextCharFormat textFormat(qreal points, const QColor& colour)
{
    QTextCharFormat format;
    format.setFont(theme::sansFont(points));
    format.setForeground(colour);
    return format;
}

}  // namespace

DrinkViewer::DrinkViewer(AppContext& app, drinks::Drink drink, QWidget* parent)
    : QWidget(parent),
      app_(app),
      drink_(std::move(drink))
{
    setObjectName(forms::kDrinkViewer);
    setWindowTitle(QStringLiteral("View drink recipe"));
    buildControls();
    buildText();
    showGlass();
}

QSize DrinkViewer::sizeHint() const
{
    return kPreferredSize.expandedTo(minimumSizeHint());
}

void DrinkViewer::buildControls()
{
    setAttribute(Qt::WA_StyledBackground);
    setProperty("drinks", true);
    setStyleSheet(theme::drinksStyle());

    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    // Nothing typed here could be kept, so the card is read-only; it can still be selected,
    // by mouse or keyboard, to print a part of it.
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->document()->setDefaultFont(theme::sansFont(10));
    text_->setMinimumSize(360, 260);

    waitPanel_ = new QFrame(this);
    waitPanel_->setObjectName(QStringLiteral("Picture1"));
    auto* wait = new QLabel(QStringLiteral("Please wait ..."), waitPanel_);
    wait->setObjectName(QStringLiteral("Label1"));
    wait->setFont(theme::sansFont(12, true));
    auto* waitLayout = new QVBoxLayout(waitPanel_);
    waitLayout->addWidget(wait, 0, Qt::AlignCenter);

    picture_ = makeGlassPicture(this);
    picture_->setObjectName(QStringLiteral("image1"));
    picture_->setToolTip(QStringLiteral("It is suggested that you should use this glass!"));

    glassCaption_ = new QLabel(this);
    glassCaption_->setObjectName(QStringLiteral("Label3"));
    glassCaption_->setFont(theme::sansFont(8.5));
    glassCaption_->setAlignment(Qt::AlignCenter);
    glassCaption_->setWordWrap(true);
    glassCaption_->setProperty("heading", true);

    auto button = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(100, 30);
        return b;
    };
    auto* print = button("Command1", QStringLiteral("Print"),
                         QStringLiteral("Print the drink, or the part of it you selected"));
    closeButton_ = button("Command2", QStringLiteral("Close"), QString());
    connect(print, &QPushButton::clicked, this, &DrinkViewer::printDrink);
    connect(closeButton_, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(picture_, 0, Qt::AlignHCenter);
    side->addWidget(glassCaption_);
    side->addStretch();
    side->addWidget(print);
    side->addWidget(closeButton_);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(waitPanel_);
    texts->addWidget(text_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, twips(120), 12, 12);
    layout->setSpacing(14);
    layout->addLayout(texts, 1);
    layout->addLayout(side);

    setFocusProxy(closeButton_);
    setTabOrder(closeButton_, print);
    setTabOrder(print, text_);
}

void DrinkViewer::buildText()
{
    waitPanel_->show();
    text_->hide();

    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::Start);
    for (int i = 0; i < 4; ++i) cursor.insertBlock();

    QTextBlockFormat indented = cursor.blockFormat();
    indented.setLeftMargin(twips(kIndentTwips));
    indented.setRightMargin(twips(kIndentTwips));
    cursor.setBlockFormat(indented);

    cursor.insertText(fromCp(drink_.name), textFormat(24, theme::drink_text::kName));
    cursor.setCharFormat(textFormat(24, theme::drink_text::kName));
    cursor.insertBlock();
    cursor.insertBlock();

    const QTextCharFormat ingredient = textFormat(10, theme::drink_text::kText);
    cursor.setCharFormat(ingredient);
    cursor.setBlockCharFormat(ingredient);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    cursor.createList(bullets);
    for (std::string_view line : text::splitLineViews(drink_.ingredients)) {
        cursor.insertText(fromCp(line), ingredient);
        cursor.insertBlock();
    }
    // Bullets off: the paragraph the caret stands in leaves the list.
    if (QTextList* list = cursor.currentList()) list->remove(cursor.block());
    cursor.setBlockFormat(indented);

    const QTextCharFormat instruction = textFormat(11, theme::drink_text::kText);
    cursor.setCharFormat(instruction);
    for (std::string_view line : text::splitLineViews(drink_.instructions)) {
        cursor.insertBlock();
        cursor.insertText(fromCp(line), instruction);
    }

    for (int i = 0; i < 3; ++i) cursor.insertBlock();
    const QTextCharFormat footer = textFormat(8, theme::drink_text::kText);
    cursor.setCharFormat(footer);
    cursor.insertText(QStringLiteral("Culvora - your digital cookbook"), footer);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Please visit us at ") + QString::fromLatin1(app::kWebSite),
                      footer);

    text_->moveCursor(QTextCursor::Start);
    waitPanel_->hide();
    text_->show();
    closeButton_->setFocus();
}

void DrinkViewer::showGlass()
{
    const int glass = drinks::glassIndex(drink_.glass);
    if (glass < 0) return;
    glassCaption_->setText(fromCp(drink_.glass));
    picture_->setPixmap(glassPixmap(app_.state, glass));
}

std::optional<print::PrintJob> DrinkViewer::printJob()
{
    const QTextCursor selection = text_->textCursor();
    const QTextDocument* document = text_->document();
    int from = 0;
    int to = document->characterCount();
    if (selection.hasSelection()) {
        from = selection.selectionStart();
        to = selection.selectionEnd();
    }

    print::PrintJob job;
    auto setFont = [&job, document](const QTextCharFormat& format) {
        const QFont font = format.font().resolve(document->defaultFont());
        const print::Font wanted{kPrintFace, font.pointSizeF() > 0 ? font.pointSizeF() : 10,
                                 font.bold(), font.italic()};
        if (!(job.font() == wanted)) job.setFont(wanted);
    };
    setFont(textFormat(10, theme::drink_text::kText));
    for (int i = 0; i < 3; ++i) job.print("");

    for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
        const int start = block.position();
        if (start >= to) break;
        struct Piece {
            std::string text;
            QTextCharFormat format;
        };
        std::vector<Piece> pieces;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int begin = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (begin >= end) continue;
            auto piece = toCp(fragment.text().mid(begin - fragment.position(), end - begin));
            if (!piece) {
                app_.services.prompter.inform(toQString(piece.error()), QStringLiteral("Error"),
                                              MessageIcon::Exclamation);
                return std::nullopt;
            }
            pieces.push_back({std::move(*piece), fragment.charFormat()});
        }
        // An empty line is as high as its paragraph's font.
        setFont(pieces.empty() ? block.charFormat() : pieces.front().format);
        if (block.textList() && start >= from) job.print("\x95 ", false);
        for (const Piece& piece : pieces) {
            setFont(piece.format);
            job.print(piece.text, false);
        }
        job.print("");
    }
    job.end();
    return job;
}

void DrinkViewer::printDrink()
{
    PrintService& printer = app_.services.printer;
    // Without a printer the document becomes a PDF, and the print service asks where to keep
    // it; there is no printer to choose then.
    if (printer.hasPrinter() && !app_.services.prompter.choosePrinter()) return;
    auto job = printJob();
    if (!job) return;
    sendToPrinter(fromCp(drink_.name), *job, printer);
}

}  // namespace culvora::gui
