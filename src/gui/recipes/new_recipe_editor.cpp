#include "gui/recipes/new_recipe_editor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <tuple>
#include <utility>
#include <vector>

#include "core/store/recipe_types.h"
#include "core/store/record_search.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/geometry.h"
#include "gui/app/handover.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/picture_routines.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/character_row.h"
#include "gui/widgets/editor_fields.h"
#include "gui/widgets/type_list.h"

namespace culvora::gui {

namespace {

// The left column (name, servings, time, type) and the room around it, in pixels.
constexpr int kMargin = 14;
constexpr int kCardMargin = 14;
constexpr int kFieldsWidth = 200;
constexpr int kColumnGap = 18;

// The place first, then core's reason: "The line ... cannot be saved. The character ...".
QString cannotSave(const QString& where, const Error& error)
{
    return where + QStringLiteral(" cannot be saved. ") + toQString(error);
}

}  // namespace

NewRecipeEditor::NewRecipeEditor(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kNewRecipe);
    setWindowTitle(QStringLiteral("New recipe"));
    theme::setPaper(this);
    setStyleSheet(theme::newRecipeStyle());
    buildControls();
    fillTypes();
    setFixedSize(twips(kWidth), twips(kClosedHeight));
}

void NewRecipeEditor::buildControls()
{
    // The page above the 4980-twip edge: a card with the fields at the left and the texts at
    // the right, the buttons under it.
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("page"));
    page->setGeometry(0, 0, twips(kWidth), twips(kClosedHeight));
    auto* card = new QFrame(page);
    card->setObjectName(QStringLiteral("Frame1"));
    card->setProperty("card", true);

    auto* fieldsBox = new QWidget(card);
    fieldsBox->setFixedWidth(kFieldsWidth);
    fieldsBox->setLayout(buildFields(fieldsBox));
    auto* inCard = new QHBoxLayout(card);
    inCard->setContentsMargins(kCardMargin, 12, kCardMargin, 12);
    inCard->setSpacing(kColumnGap);
    inCard->addWidget(fieldsBox);
    inCard->addLayout(buildTexts(card), 1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kMargin, 12, kMargin, 10);
    layout->setSpacing(10);
    layout->addWidget(card, 1);
    layout->addLayout(buildButtons(page));

    buildCharacterRow();

    servingsTimer_ = new QTimer(this);
    servingsTimer_->setObjectName(QStringLiteral("Timer1"));
    servingsTimer_->setSingleShot(true);
    servingsTimer_->setInterval(100);
    connect(servingsTimer_, &QTimer::timeout, servingsBox_, &QLineEdit::clear);

    // Enter in a one-line box goes on to the next box rather than saving a recipe half
    // typed; Ctrl+S (or Ctrl+Enter) saves from anywhere.
    connect(nameBox_, &QLineEdit::returnPressed, servingsBox_,
            [this] { servingsBox_->setFocus(); });
    connect(servingsBox_, &QLineEdit::returnPressed, timeBox_, [this] { timeBox_->setFocus(); });
    connect(timeBox_, &QLineEdit::returnPressed, typeBox_, [this] { typeBox_->setFocus(); });
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::Save), QKeySequence(Qt::CTRL | Qt::Key_Return),
          QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &NewRecipeEditor::save);
    }

    auto buttonNamed = [this](const char* name) {
        return findChild<QPushButton*>(QLatin1String(name));
    };
    setTabOrder(nameBox_, servingsBox_);
    setTabOrder(servingsBox_, timeBox_);
    setTabOrder(timeBox_, typeBox_);
    setTabOrder(typeBox_, tabs_);
    setTabOrder(tabs_, ingredientsBox_);
    setTabOrder(ingredientsBox_, instructionsBox_);
    QWidget* previous = instructionsBox_;
    // Save, Cancel, Help, Reset, Insert...
    for (const char* name : {"Command1", "Command2", "Command4", "Command3", "Command5"}) {
        QPushButton* next = buttonNamed(name);
        setTabOrder(previous, next);
        previous = next;
    }
}

QLayout* NewRecipeEditor::buildFields(QWidget* parent)
{
    auto label = [parent](const QString& text, const char* name = nullptr) {
        return makeCaption(text, nullptr, parent, name);
    };
    auto lineBox = [this, parent](const char* name) {
        auto* box = new QLineEdit(parent);
        box->setObjectName(QLatin1String(name));
        box->setFont(theme::serifFont(12));
        box->installEventFilter(this);
        return box;
    };
    auto* nameLabel = label(QStringLiteral("Recipe's name:"));
    nameLabel->setProperty("heading", true);
    nameBox_ = lineBox("t1");
    nameLabel->setBuddy(nameBox_);

    auto* servingsLabel = label(QStringLiteral("Serves:"));
    servingsBox_ = lineBox("t2");
    servingsLabel->setBuddy(servingsBox_);
    auto* timeLabel = label(QStringLiteral("Cooking time:"));
    timeBox_ = lineBox("t3");
    timeLabel->setBuddy(timeBox_);
    auto* minutesHint = label(QStringLiteral("(In minutes only!)"));
    minutesHint->setProperty("hint", true);
    minutesHint->setFont(theme::sansFont(9));

    auto* typeLabel = label(QStringLiteral("Type of dish:"));
    typeBox_ = new TypeList(parent);
    typeBox_->setObjectName(QStringLiteral("Combo1"));
    typeBox_->setFont(theme::sansFont(10));
    typeBox_->installEventFilter(this);
    typeLabel->setBuddy(typeBox_);

    auto* firstTimer = label(QStringLiteral("First-timer? Please read the help!"), "Label3");
    firstTimer->setProperty("hint", true);
    firstTimer->setWordWrap(true);

    auto* numbers = new QGridLayout;
    numbers->setHorizontalSpacing(12);
    numbers->setVerticalSpacing(3);
    numbers->addWidget(servingsLabel, 0, 0);
    numbers->addWidget(timeLabel, 0, 1);
    numbers->addWidget(servingsBox_, 1, 0);
    numbers->addWidget(timeBox_, 1, 1);
    numbers->addWidget(minutesHint, 2, 1);

    auto* fields = new QVBoxLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(3);
    fields->addWidget(nameLabel);
    fields->addWidget(nameBox_);
    fields->addSpacing(8);
    fields->addLayout(numbers);
    fields->addSpacing(4);
    fields->addWidget(typeLabel);
    fields->addWidget(typeBox_);
    fields->addStretch();
    fields->addWidget(firstTimer);
    return fields;
}

QLayout* NewRecipeEditor::buildTexts(QWidget* card)
{
    // The tab strip over the two pages of text.
    tabs_ = new QTabBar(card);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    tabs_->addTab(QStringLiteral("Ingredients"));
    tabs_->addTab(QStringLiteral("To do"));
    tabs_->setTabToolTip(0, QStringLiteral("The ingredients, one a line"));
    tabs_->setTabToolTip(1, QStringLiteral("How the dish is made"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);

    auto textPage = [this, card](const char* pageName, const char* boxName, const QString& hint) {
        auto* holder = new QWidget(card);
        holder->setObjectName(QLatin1String(pageName));
        auto* box = new QPlainTextEdit(holder);
        box->setObjectName(QLatin1String(boxName));
        box->setFont(theme::serifFont(11.5));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Tab goes on to the next field, as everywhere else in the window.
        box->setTabChangesFocus(true);
        box->setPlaceholderText(hint);
        box->installEventFilter(this);
        auto* fill = new QVBoxLayout(holder);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(box);
        return std::pair{holder, box};
    };
    std::tie(ingredientsPage_, ingredientsBox_) =
        textPage("Picture1", "t4", QStringLiteral("One ingredient a line, e.g. 2 dl milk"));
    std::tie(instructionsPage_, instructionsBox_) =
        textPage("Picture2", "t5", QStringLiteral("How to make it, step by step"));
    instructionsPage_->hide();

    auto* text = new QVBoxLayout;
    text->setContentsMargins(0, 0, 0, 0);
    text->setSpacing(0);
    text->addWidget(tabs_);
    text->addWidget(ingredientsPage_, 1);
    text->addWidget(instructionsPage_, 1);

    connect(tabs_, &QTabBar::currentChanged, this, &NewRecipeEditor::chooseTab);
    return text;
}

QLayout* NewRecipeEditor::buildButtons(QWidget* page)
{
    auto button = [this, page](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(88, 30);
        b->setCursor(Qt::PointingHandCursor);
        // Enter presses the button that has the focus, as in the program's dialogs.
        b->setAutoDefault(true);
        return b;
    };

    auto* save = button("Command1", QStringLiteral("Save"),
                        QStringLiteral("Add the recipe to the cookbook (Ctrl+S)"));
    // The default button always: a button that only becomes default with the focus would
    // give it up again when the focus leaves it.
    save->setAutoDefault(false);
    save->setDefault(true);
    auto* cancel = button("Command2", QStringLiteral("Cancel"),
                          QStringLiteral("Close without saving the recipe"));
    auto* resetButton = button("Command3", QStringLiteral("Reset"),
                               QStringLiteral("Empty every box (the type of dish stays)"));
    auto* help = button("Command4", QStringLiteral("Help"),
                        QStringLiteral("How to write a recipe in Culvora"));
    auto* insert = button("Command5", QStringLiteral("Insert..."),
                          QStringLiteral("Signs such as \u00BD and \u00B0 for the text"));
    connect(save, &QPushButton::clicked, this, &NewRecipeEditor::save);
    // "Cancel" is the cook's own word that the recipe goes: no question.
    connect(cancel, &QPushButton::clicked, this, [this] {
        letInputGo();
        app_.windows.closeWindow(this);
    });
    connect(resetButton, &QPushButton::clicked, this, &NewRecipeEditor::reset);
    connect(help, &QPushButton::clicked, this, &NewRecipeEditor::openHelp);
    connect(insert, &QPushButton::clicked, this, &NewRecipeEditor::showCharacterRow);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(help);
    buttons->addWidget(resetButton);
    buttons->addWidget(insert);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    return buttons;
}

void NewRecipeEditor::buildCharacterRow()
{
    // Under the 4980-twip edge: shown by "Insert...", its buttons under the text.
    characterRow_ =
        new CharacterRow(QMargins(kMargin + kCardMargin + kFieldsWidth + kColumnGap, 0, kMargin, 6),
                         QSize(34, 26), this);
    characterRow_->setGeometry(0, twips(kClosedHeight), twips(kWidth),
                               twips(kInsertHeight) - twips(kClosedHeight));
    connect(characterRow_, &CharacterRow::chosen, this, &NewRecipeEditor::insertCharacter);
}

void NewRecipeEditor::fillTypes()
{
    // typer.txt in file order, the first entry chosen; a missing or empty file leaves the box
    // empty, and the recipe is saved without a type.
    auto types = store::readTypes(app_.state.folder);
    if (!types) {
        app_.services.prompter.inform(toQString(types.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    for (const std::string& type : *types) typeBox_->addItem(fromCp(type));
    if (typeBox_->count() > 0) typeBox_->setCurrentIndex(0);
}

void NewRecipeEditor::startEditing()
{
    nameBox_->setFocus();
}

bool NewRecipeEditor::holdsText() const
{
    return hasUnsavedInput();
}

void NewRecipeEditor::prefill(const NewRecipeFields& fields)
{
    nameBox_->setText(fields.name);
    servingsBox_->setText(fields.servings);
    timeBox_->setText(fields.cookingTime);
    ingredientsBox_->setPlainText(fields.ingredients.join(QLatin1Char('\n')));
    instructionsBox_->setPlainText(fields.instructions.join(QLatin1Char('\n')));
    if (const int type = typeBox_->findText(fields.type, Qt::MatchFixedString); type >= 0) {
        typeBox_->setCurrentIndex(type);
    }
    chooseTab(0);
    nameBox_->setCursorPosition(0);
    nameBox_->setFocus();
}

bool NewRecipeEditor::characterRowShown() const
{
    return characterRow_->isVisibleTo(this);
}

void NewRecipeEditor::chooseTab(int index)
{
    const bool instructions = index == 1;
    if (tabs_->currentIndex() != index) {
        tabs_->setCurrentIndex(index);  // comes back here through currentChanged
        return;
    }
    // The page to show first, and its box takes the focus before the other page hides: a box
    // that hides with the focus would hand it on to the next button.
    QWidget* shown = instructions ? instructionsPage_ : ingredientsPage_;
    QWidget* hidden = instructions ? ingredientsPage_ : instructionsPage_;
    shown->show();
    (instructions ? instructionsBox_ : ingredientsBox_)->setFocus();
    hidden->hide();
}

QPlainTextEdit* NewRecipeEditor::lastTextBox()
{
    switch (app_.state.lastFocusedBox) {
    case kIngredientsBox: return ingredientsBox_;
    case kInstructionsBox: return instructionsBox_;
    default: return nullptr;
    }
}

void NewRecipeEditor::showCharacterRow()
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
    // The marker may come from an earlier editor, with its box on the other page.
    chooseTab(box == instructionsBox_ ? 1 : 0);
    box->setFocus();
}

void NewRecipeEditor::insertCharacter(const QString& character)
{
    QPlainTextEdit* box = lastTextBox();
    if (!box) return;
    chooseTab(box == instructionsBox_ ? 1 : 0);
    box->setFocus();
    box->insertPlainText(character);
}

void NewRecipeEditor::reset()
{
    for (QLineEdit* box : {nameBox_, servingsBox_, timeBox_}) box->clear();
    ingredientsBox_->clear();
    instructionsBox_->clear();
}

void NewRecipeEditor::openHelp()
{
    app_.services.opener.openDocument(helpPage(app_.state, "newrecipe.html"));
}

void NewRecipeEditor::servingsKey(const QString& typed)
{
    for (const char32_t code : typed.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        auto cp = toCp(character);
        // A character Windows-1252 cannot hold passes here; "Save" refuses it.
        if (!cp || cp->size() != 1) continue;
        const int c = static_cast<unsigned char>(cp->front());
        if (c >= 65 && c <= 214) {
            app_.services.prompter.beep();
            servingsTimer_->start();
        } else if (c >= 97 && c <= 246) {
            app_.services.prompter.beep();
            app_.services.prompter.inform(QStringLiteral("Endast siffror, tack!"),
                                          QStringLiteral("Fel"));
            servingsTimer_->start();
        }
    }
}

bool NewRecipeEditor::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == ingredientsBox_) {
            app_.state.lastFocusedBox = kIngredientsBox;
        } else if (watched == instructionsBox_) {
            app_.state.lastFocusedBox = kInstructionsBox;
        } else if (watched == nameBox_ || watched == servingsBox_ || watched == timeBox_) {
            app_.state.lastFocusedBox = kNoTextBox;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The key still goes into the box: Timer1 empties it afterwards.
        if (watched == servingsBox_) servingsKey(key->text());
        // Enter on the type goes on to the text of the page that is showing.
        if (watched == typeBox_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            chooseTab(tabs_->currentIndex());
            return true;
        }
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<recipes::RecipeDraft> NewRecipeEditor::draft()
{
    recipes::RecipeDraft made;
    struct OneLine {
        QWidget* box;
        QString text;
        const char* where;
        std::string* into;
    };
    for (const OneLine& field :
         {OneLine{nameBox_, nameBox_->text(), "The recipe's name", &made.name},
          OneLine{servingsBox_, servingsBox_->text(), "The number of servings", &made.servings},
          OneLine{timeBox_, timeBox_->text(), "The cooking time", &made.cookingTime},
          OneLine{typeBox_, typeBox_->currentText(), "The type of dish", &made.type}}) {
        auto cp = toCp(field.text);
        if (!cp) {
            app_.services.prompter.inform(cannotSave(QLatin1String(field.where), cp.error()),
                                          QStringLiteral("Error"), MessageIcon::Exclamation);
            field.box->setFocus();
            return std::nullopt;
        }
        *field.into = std::move(*cp);
    }
    struct Lines {
        QPlainTextEdit* box;
        const char* where;
        std::string* into;
    };
    for (const Lines& field : {Lines{ingredientsBox_, "ingredients", &made.ingredients},
                               Lines{instructionsBox_, "instructions", &made.instructions}}) {
        const QString text = boxText(field.box);
        auto cp = toCp(text);
        if (cp) {
            *field.into = std::move(*cp);
            continue;
        }
        // Name the line, so that the character is found in a long text.
        QString where = QStringLiteral("The %1").arg(QLatin1String(field.where));
        Error why = cp.error();
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (auto lineCp = toCp(line); !lineCp) {
                where = QStringLiteral("The line \"%1\" in the %2")
                            .arg(line, QLatin1String(field.where));
                why = lineCp.error();
                break;
            }
        }
        app_.services.prompter.inform(cannotSave(where, why), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        chooseTab(field.box == instructionsBox_ ? 1 : 0);
        return std::nullopt;
    }
    return made;
}

void NewRecipeEditor::save()
{
    if (nameBox_->text().isEmpty()) {
        app_.services.prompter.inform(QString::fromUtf8(recipes::kNoNameMessage),
                                      QStringLiteral("Culvora"));
        nameBox_->setFocus();
        return;
    }
    const auto typed = draft();
    if (!typed) return;
    if (!nameFreeOrAccepted(typed->name)) return;
    if (auto saved = recipes::saveNew(app_.state.folder, app_.state.currentCookbookFile, *typed);
        !saved) {
        app_.services.prompter.inform(toQString(saved.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        return;
    }
    askForPicture(app_, typed->name);

    // The ingredient text split into its lines in memory (the program's ind.tmp); empty lines
    // name no ingredient.
    std::vector<std::string> lines;
    for (std::string& line : text::splitLines(typed->ingredients)) {
        if (!line.empty()) lines.push_back(std::move(line));
    }
    // The editor goes first, so that "New ingredients?" opens over the browser and keeps the
    // focus.
    AppContext& app = app_;
    letInputGo();  // saved: closing asks nothing
    app.windows.closeWindow(this);
    runNewIngredientCheck(app, lines, search::CheckVariant::NewRecipe);
}

bool NewRecipeEditor::hasUnsavedInput() const
{
    // The type alone is no recipe: it is chosen for every new one.
    return !nameBox_->text().isEmpty() || !servingsBox_->text().isEmpty() ||
           !timeBox_->text().isEmpty() || !ingredientsBox_->document()->isEmpty() ||
           !instructionsBox_->document()->isEmpty();
}

QString NewRecipeEditor::unsavedInputName() const
{
    const QString name = nameBox_->text();
    return name.isEmpty() ? QStringLiteral("the new recipe")
                          : QStringLiteral("the new recipe ") + quotedName(name);
}

void NewRecipeEditor::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool NewRecipeEditor::nameFreeOrAccepted(const std::string& name)
{
    // A cookbook that cannot be read says so when the save is tried.
    auto taken = store::holdsName(app_.state.folder, app_.state.currentCookbookFile, name);
    if (!taken || !*taken) return true;
    // Both recipes stay within reach, but a list with two of one name is hard to use, so the
    // question leans towards another name: No (and Escape) go back to the name.
    const Answer answer = app_.services.prompter.show(
        {QStringLiteral("There is already a recipe called \"%1\" in this cookbook.\n\nSave this "
                        "one under the same name all the same? Choose No to give it another "
                        "name.")
             .arg(fromCp(name)),
         QStringLiteral("Name already used"), MessageIcon::Question, MessageButtons::YesNo,
         Answer::No});
    if (answer == Answer::Yes) return true;
    nameBox_->setFocus();
    nameBox_->selectAll();
    return false;
}

void registerNewRecipeEditor(AppContext& app)
{
    app.windows.addFactory(forms::kNewRecipe, [&app]() -> QWidget* {
        auto* editor = new NewRecipeEditor(app);
        // Its height is the program's (4980 twips, 5490 with the character row): moved and
        // minimised, not resized.
        app.windows.add(editor, WindowKind::Fixed);
        app.windows.centerForm(editor);
        editor->startEditing();
        return editor;
    });
}

}  // namespace culvora::gui
