#include "gui/drinks/new_drink_editor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

#include "core/drinks/drinks.h"
#include "gui/app/app_context.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/drinks/drink_windows.h"
#include "gui/drinks/drinks_list.h"
#include "gui/theme/theme.h"
#include "gui/widgets/character_row.h"
#include "gui/widgets/editor_fields.h"
#include "gui/widgets/glass_list.h"

namespace culvora::gui {

NewDrinkEditor::NewDrinkEditor(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kNewDrink);
    setWindowTitle(QStringLiteral("Add drink"));
    buildControls();
    app_.state.lastFocusedBox = kNoTextBox;
    glassList_->setCurrentIndex(0);  // "(Unknown)"
}

void NewDrinkEditor::buildControls()
{
    setAttribute(Qt::WA_StyledBackground);
    setProperty("drinks", true);
    setStyleSheet(theme::drinksStyle());
    setFixedSize(twips(kWidth), twips(kClosedHeight));

    auto* page = new QWidget(this);
    page->setGeometry(0, 0, twips(kWidth), twips(kClosedHeight));

    nameBox_ = new QLineEdit(page);
    nameBox_->setObjectName(QStringLiteral("Text1"));
    nameBox_->setFont(theme::serifFont(12));
    nameBox_->setPlaceholderText(QStringLiteral("e.g. Whisky Sour"));
    // A name of any length is kept whole.
    nameBox_->setMaxLength(std::numeric_limits<int>::max());

    auto textBox = [page](const char* name, const QString& hint) {
        auto* box = new QPlainTextEdit(page);
        box->setObjectName(QLatin1String(name));
        box->setFont(theme::serifFont(11));
        box->setPlaceholderText(hint);
        box->setTabChangesFocus(true);
        return box;
    };
    ingredientsBox_ = textBox("Text2", QStringLiteral("One ingredient a line, e.g. 4 cl gin"));
    instructionsBox_ = textBox("Text3", QStringLiteral("How to mix it"));

    glassList_ = makeGlassList(app_.state, page);

    picture_ = makeGlassPicture(page);

    auto button = [page](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, page);
        b->setObjectName(QLatin1String(name));
        b->setFont(theme::sansFont(10));
        b->setToolTip(tip);
        b->setMinimumSize(90, 28);
        return b;
    };
    auto* save = button("Command1", QStringLiteral("Save"),
                        QStringLiteral("Add the drink to the collection"));
    auto* cancel = button("Command2", QStringLiteral("Cancel"),
                          QStringLiteral("Close without saving the drink"));
    auto* insert = button("Command3", QStringLiteral("Insert..."),
                          QStringLiteral("Characters such as \u00BD and \u00B0 for the text"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &NewDrinkEditor::save);
    connect(cancel, &QPushButton::clicked, this, &NewDrinkEditor::cancel);
    connect(insert, &QPushButton::clicked, this, &NewDrinkEditor::showCharacterRow);
    connect(glassList_, &QComboBox::currentIndexChanged, this, &NewDrinkEditor::showChosenGlass);
    // Enter in the name goes on to the ingredients rather than saving a drink half typed.
    connect(nameBox_, &QLineEdit::returnPressed, ingredientsBox_,
            [this] { ingredientsBox_->setFocus(); });

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(8);
    nameRow->addWidget(makeCaption(QStringLiteral("Name:"), nameBox_, page, "Label1(0)"));
    nameRow->addWidget(nameBox_, 1);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(10);
    texts->setVerticalSpacing(3);
    texts->addWidget(
        makeCaption(QStringLiteral("Ingredients:"), ingredientsBox_, page, "Label1(1)"), 0, 0);
    texts->addWidget(
        makeCaption(QStringLiteral("Mixing instructions:"), instructionsBox_, page, "Label1(2)"), 0,
        1);
    texts->addWidget(ingredientsBox_, 1, 0);
    texts->addWidget(instructionsBox_, 1, 1);
    texts->setColumnStretch(0, 1);
    texts->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(insert);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* fields = new QVBoxLayout;
    fields->setSpacing(8);
    fields->addLayout(nameRow);
    fields->addLayout(texts, 1);
    fields->addLayout(buttons);

    auto* glass = new QVBoxLayout;
    glass->setSpacing(4);
    glass->addWidget(makeCaption(QStringLiteral("Glass:"), glassList_, page, "Label1(3)"));
    glass->addWidget(glassList_);
    glass->addSpacing(4);
    glass->addWidget(picture_, 0, Qt::AlignHCenter);
    glass->addStretch();

    auto* glassColumn = new QWidget(page);
    glassColumn->setFixedWidth(140);
    glassColumn->setLayout(glass);
    glass->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(14);
    layout->addLayout(fields, 1);
    layout->addWidget(glassColumn);

    // The character row, under the 3930-twip edge: shown by "Insert...".
    characterRow_ = new CharacterRow(QMargins(12, 0, 12, 4), QSize(34, 24), this);
    characterRow_->setGeometry(0, twips(kClosedHeight), twips(kWidth),
                               twips(kInsertHeight) - twips(kClosedHeight));
    connect(characterRow_, &CharacterRow::chosen, this, &NewDrinkEditor::insertCharacter);

    for (QWidget* box :
         std::initializer_list<QWidget*>{nameBox_, ingredientsBox_, instructionsBox_}) {
        box->installEventFilter(this);
    }
    setTabOrder(nameBox_, ingredientsBox_);
    setTabOrder(ingredientsBox_, instructionsBox_);
    setTabOrder(instructionsBox_, glassList_);
    setTabOrder(glassList_, save);
    setTabOrder(save, cancel);
    setTabOrder(cancel, insert);
    setFocusProxy(nameBox_);
}

void NewDrinkEditor::startEditing()
{
    nameBox_->setFocus();
}

bool NewDrinkEditor::characterRowShown() const
{
    return characterRow_->isVisibleTo(this);
}

QPlainTextEdit* NewDrinkEditor::lastTextBox() const
{
    switch (app_.state.lastFocusedBox) {
    case kIngredientsBox: return ingredientsBox_;
    case kInstructionsBox: return instructionsBox_;
    default: return nullptr;
    }
}

void NewDrinkEditor::showCharacterRow()
{
    QPlainTextEdit* box = lastTextBox();
    if (!box) {
        app_.services.prompter.inform(QStringLiteral("First enter one of the two textboxes."),
                                      QStringLiteral("Error"));
        return;
    }
    setFixedSize(twips(kWidth), twips(kInsertHeight));
    characterRow_->show();
    if (QMdiSubWindow* frame = app_.windows.subWindowOf(this)) frame->adjustSize();
    box->setFocus();
}

void NewDrinkEditor::insertCharacter(const QString& character)
{
    QPlainTextEdit* box = lastTextBox();
    if (!box) return;
    box->setFocus();
    box->insertPlainText(character);
}

void NewDrinkEditor::showChosenGlass(int glass)
{
    picture_->setPixmap(glassPixmap(app_.state, glass));
    picture_->setToolTip(glass >= 0 ? glassList_->itemText(glass) : QString());
}

bool NewDrinkEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == ingredientsBox_) {
            app_.state.lastFocusedBox = kIngredientsBox;
        } else if (watched == instructionsBox_) {
            app_.state.lastFocusedBox = kInstructionsBox;
        } else if (watched == nameBox_) {
            app_.state.lastFocusedBox = kNoTextBox;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::string> NewDrinkEditor::converted(const QString& text, const QString& what,
                                                     QWidget* box)
{
    const QByteArray utf8 = text.toUtf8();
    auto cp = drinks::drinkText({utf8.constData(), static_cast<std::size_t>(utf8.size())});
    if (cp) return std::move(*cp);
    app_.services.prompter.inform(what + QStringLiteral(" cannot be saved. ") +
                                      toQString(cp.error()),
                                  QStringLiteral("Error"), MessageIcon::Exclamation);
    box->setFocus();
    return std::nullopt;
}

void NewDrinkEditor::save()
{
    if (nameBox_->text().isEmpty()) {
        app_.services.prompter.beep();
        app_.services.prompter.inform(fromCp(drinks::kNoNameMessage), QStringLiteral("Fel"));
        nameBox_->setFocus();
        return;
    }
    const auto name = converted(nameBox_->text(), QStringLiteral("The name"), nameBox_);
    if (!name) return;
    const auto ingredients =
        converted(boxText(ingredientsBox_), QStringLiteral("The ingredients"), ingredientsBox_);
    if (!ingredients) return;
    const auto instructions = converted(
        boxText(instructionsBox_), QStringLiteral("The mixing instructions"), instructionsBox_);
    if (!instructions) return;
    const int glass = glassList_->currentIndex();
    const std::string glassName(
        glass >= 0 ? drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(glass)] : "");

    if (auto added =
            drinks::appendDrink(app_.state.folder, *name, *ingredients, *instructions, glassName);
        !added) {
        app_.services.prompter.inform(toQString(added.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    if (auto* list = app_.windows.find<DrinksList>(forms::kDrinks)) list->refillWithoutFilter();
    letInputGo();  // saved: closing asks nothing
    app_.windows.closeWindow(this);
}

void NewDrinkEditor::cancel()
{
    // The cook's own word that the drink goes: no question.
    letInputGo();
    app_.windows.closeWindow(this);
}

bool NewDrinkEditor::hasUnsavedInput() const
{
    // The glass alone is no drink: one is chosen for every new one.
    return !nameBox_->text().isEmpty() || !ingredientsBox_->document()->isEmpty() ||
           !instructionsBox_->document()->isEmpty();
}

QString NewDrinkEditor::unsavedInputName() const
{
    const QString name = nameBox_->text();
    return name.isEmpty() ? QStringLiteral("the new drink")
                          : QStringLiteral("the new drink ") + quotedName(name);
}

void NewDrinkEditor::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace culvora::gui
