#include "gui/recipes/recipe_editor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

#include "core/store/cookbook_list.h"
#include "core/store/recipe_types.h"
#include "core/text/text.h"
#include "gui/app/delivered_files.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/picture_routines.h"
#include "gui/recipes/recipe_windows.h"
#include "gui/theme/theme.h"
#include "gui/widgets/editor_fields.h"
#include "gui/widgets/type_list.h"

namespace culvora::gui {

namespace {

constexpr QSize kPreferredSize(780, 560);

// A box of several lines shows its lines apart with no line end after the last.
QString boxShown(const std::string& cp1252)
{
    QString text = fromCp(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QByteArray bytes(const std::string& cp1252)
{
    return {cp1252.data(), static_cast<qsizetype>(cp1252.size())};
}

}  // namespace

RecipeEditor::RecipeEditor(AppContext& app, std::string cookbook, store::RecipeRecord loaded,
                           std::size_t occurrence, QWidget* parent)
    : QWidget(parent),
      app_(app),
      cookbook_(std::move(cookbook)),
      loaded_(std::move(loaded)),
      occurrence_(occurrence),
      shown_(recipes::draftOf(loaded_))
{
    setObjectName(forms::kEditRecipe);
    setWindowTitle(QStringLiteral("Redigera receptet ") + fromCp(loaded_.name));
    buildControls();
    fill();
}

QSize RecipeEditor::sizeHint() const
{
    return kPreferredSize.expandedTo(minimumSizeHint());
}

void RecipeEditor::buildControls()
{
    theme::setPaper(this);
    setStyleSheet(theme::editorStyle());

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setProperty("card", true);

    auto lineBox = [frame](const char* name) {
        auto* box = new QLineEdit(frame);
        box->setObjectName(QLatin1String(name));
        box->setFont(theme::serifFont(12));
        // A line of any length is shown whole, so nothing is cut off when it is saved.
        box->setMaxLength(std::numeric_limits<int>::max());
        return box;
    };
    nameBox_ = lineBox("t1");
    nameBox_->setEnabled(false);
    nameBox_->setFont(theme::serifFont(14));
    servingsBox_ = lineBox("t2");
    timeBox_ = lineBox("t3");

    typeList_ = new TypeList(frame);
    typeList_->setObjectName(QStringLiteral("Combo1"));
    typeList_->setFont(theme::sansFont(10));
    typeList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    typeList_->setMinimumWidth(150);

    auto textBox = [frame](const char* name) {
        auto* box = new QPlainTextEdit(frame);
        box->setObjectName(QLatin1String(name));
        box->setFont(theme::serifFont(11.5));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Tab goes on to the next field, as everywhere else in the window.
        box->setTabChangesFocus(true);
        return box;
    };
    ingredientsBox_ = textBox("t4");
    instructionsBox_ = textBox("t5");

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(8);
    fields->addWidget(makeCaption(QStringLiteral("Recipe name:"), nameBox_, frame), 0, 0);
    fields->addWidget(nameBox_, 0, 1, 1, 5);
    fields->addWidget(makeCaption(QStringLiteral("Serves:"), servingsBox_, frame), 1, 0);
    fields->addWidget(servingsBox_, 1, 1);
    fields->addWidget(makeCaption(QStringLiteral("Time:"), timeBox_, frame), 1, 2);
    fields->addWidget(timeBox_, 1, 3);
    fields->addWidget(makeCaption(QStringLiteral("Type of dish:"), typeList_, frame), 1, 4);
    fields->addWidget(typeList_, 1, 5);
    fields->setColumnStretch(1, 2);
    fields->setColumnStretch(3, 2);
    fields->setColumnStretch(5, 3);

    // Ingredients beside the steps, as on the pages of the book.
    auto* texts = new QHBoxLayout;
    texts->setSpacing(14);
    for (auto [caption, box, stretch] :
         {std::tuple{QStringLiteral("Ingredients:"), ingredientsBox_, 2},
          std::tuple{QStringLiteral("To do."), instructionsBox_, 3}}) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        column->addWidget(makeCaption(caption, box, frame));
        column->addWidget(box, 1);
        texts->addLayout(column, stretch);
    }
    ingredientsBox_->setMinimumSize(200, 160);
    instructionsBox_->setMinimumSize(260, 160);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(16, 14, 16, 16);
    frameLayout->setSpacing(12);
    frameLayout->addLayout(fields);
    frameLayout->addLayout(texts, 1);

    auto button = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(96, 30);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    auto* saveButton = button("Command1", QStringLiteral("Save"),
                              QStringLiteral("Keep the changes in the cookbook"));
    auto* cancelButton = button("Command2", QStringLiteral("Cancel"),
                                QStringLiteral("Close without saving the changes"));
    auto* pictureButton = button("Command3", QStringLiteral("Picture?"),
                                 QStringLiteral("Choose a picture of the dish"));
    auto* helpButton =
        button("Command4", QStringLiteral("Help"), QStringLiteral("How to edit a recipe"));
    saveButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, &RecipeEditor::save);
    connect(cancelButton, &QPushButton::clicked, this, &RecipeEditor::cancel);
    connect(pictureButton, &QPushButton::clicked, this, &RecipeEditor::choosePicture);
    connect(helpButton, &QPushButton::clicked, this, &RecipeEditor::openHelp);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(pictureButton);
    buttons->addWidget(helpButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(12);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    setTabOrder(servingsBox_, timeBox_);
    setTabOrder(timeBox_, typeList_);
    setTabOrder(typeList_, ingredientsBox_);
    setTabOrder(ingredientsBox_, instructionsBox_);
    setTabOrder(instructionsBox_, saveButton);
    setTabOrder(saveButton, cancelButton);
    setTabOrder(cancelButton, pictureButton);
    setTabOrder(pictureButton, helpButton);
    setFocusProxy(servingsBox_);
}

void RecipeEditor::fill()
{
    nameBox_->setText(fromCp(shown_.name));
    nameBox_->setCursorPosition(0);
    // A name too long for its box can still be read whole.
    nameBox_->setToolTip(nameBox_->text());
    servingsBox_->setText(fromCp(shown_.servings));
    timeBox_->setText(fromCp(shown_.cookingTime));
    ingredientsBox_->setPlainText(boxShown(shown_.ingredients));
    instructionsBox_->setPlainText(boxShown(shown_.instructions));

    auto types = store::readTypes(app_.state.folder);
    if (!types) {
        app_.services.prompter.inform(toQString(types.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
        types.emplace();
    }
    for (const std::string& type : *types) typeList_->addItem(fromCp(type), bytes(type));
    // A type the list does not hold (removed since, or from another program) stays the
    // recipe's type: it joins the list in its sorted place, so Save writes it back unchanged.
    int row = typeList_->findData(bytes(shown_.type));
    if (row < 0) {
        row = static_cast<int>(text::sortedInsertPosition(*types, shown_.type));
        typeList_->insertItem(row, fromCp(shown_.type), bytes(shown_.type));
    }
    typeList_->setCurrentIndex(row);
}

void RecipeEditor::refuse(const QString& message, QWidget* box)
{
    app_.services.prompter.inform(message, QStringLiteral("Error"), MessageIcon::Exclamation);
    if (box) box->setFocus();
}

std::optional<recipes::RecipeDraft> RecipeEditor::draft()
{
    recipes::RecipeDraft draft;
    draft.name = loaded_.name;
    // A box left as it was keeps its bytes exactly, even a character that could not be typed.
    auto take = [this](std::string& out, const QString& now, const std::string& shown,
                       const QString& displayed, QWidget* box, const char* field) {
        if (now == displayed) {
            out = shown;
            return true;
        }
        auto cp = toCp(now);
        if (!cp) {
            refuse(QStringLiteral("%1: %2").arg(QLatin1String(field), toQString(cp.error())), box);
            return false;
        }
        out = std::move(*cp);
        return true;
    };
    if (!take(draft.servings, servingsBox_->text(), shown_.servings, fromCp(shown_.servings),
              servingsBox_, "Serves") ||
        !take(draft.cookingTime, timeBox_->text(), shown_.cookingTime, fromCp(shown_.cookingTime),
              timeBox_, "Time") ||
        !take(draft.ingredients, boxText(ingredientsBox_), shown_.ingredients,
              boxShown(shown_.ingredients), ingredientsBox_, "Ingredients") ||
        !take(draft.instructions, boxText(instructionsBox_), shown_.instructions,
              boxShown(shown_.instructions), instructionsBox_, "To do")) {
        return std::nullopt;
    }
    const QByteArray type = typeList_->currentData().toByteArray();
    draft.type.assign(type.constData(), static_cast<std::size_t>(type.size()));
    return draft;
}

void RecipeEditor::save()
{
    // The recipe belongs to the cookbook it was read from; a cookbook of the same recipe name
    // chosen meanwhile must not have its recipe overwritten.
    if (app_.state.currentCookbookFile != cookbook_) {
        std::string book = cookbook_;
        if (auto list = store::CookbookList(app_.state.folder).read(); list) {
            if (const auto* entry = store::findByFile(*list, cookbook_)) book = entry->title;
        }
        refuse(QStringLiteral("Another cookbook was chosen while \"%1\" was open here, so nothing "
                              "was saved. Choose the cookbook \"%2\" again, then save.")
                   .arg(shownForMessage(loaded_.name), shownForMessage(book)));
        return;
    }
    auto edited = draft();
    if (!edited) return;
    if (auto saved = recipes::saveEdit(app_.state.folder, cookbook_,
                                       store::RecordKey{loaded_.name, occurrence_}, *edited,
                                       loaded_);
        !saved) {
        refuse(toQString(saved.error()));
        return;
    }
    letInputGo();  // saved: closing asks nothing
    app_.windows.closeWindow(this);
}

void RecipeEditor::recordRemoved(const std::string& cookbookFile, std::string_view name,
                                 std::size_t occurrence)
{
    if (cookbookFile != cookbook_ || name != loaded_.name) return;
    // Gone itself: an occurrence no recipe has, so Save says so instead of saving over the
    // next recipe of the name.
    occurrence_ = followRemoval(occurrence_, occurrence).value_or(static_cast<std::size_t>(-1));
}

void RecipeEditor::cancel()
{
    // The cook's own word that the changes go: no question.
    letInputGo();
    app_.windows.closeWindow(this);
}

bool RecipeEditor::hasUnsavedInput() const
{
    return servingsBox_->text() != fromCp(shown_.servings) ||
           timeBox_->text() != fromCp(shown_.cookingTime) ||
           boxText(ingredientsBox_) != boxShown(shown_.ingredients) ||
           boxText(instructionsBox_) != boxShown(shown_.instructions) ||
           typeList_->currentData().toByteArray() != bytes(shown_.type);
}

QString RecipeEditor::unsavedInputName() const
{
    return QStringLiteral("the recipe ") + quotedName(fromCp(loaded_.name));
}

void RecipeEditor::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, app_.services.prompter)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void RecipeEditor::choosePicture()
{
    changePicture(app_, loaded_.name);
}

void RecipeEditor::openHelp()
{
    const QString page = helpPage(app_.state, "recipes.html");
    if (!app_.services.opener.openDocument(page)) {
        refuse(QStringLiteral("The help page \"%1\" could not be opened: no program to show web "
                              "pages was found.")
                   .arg(page));
    }
}

void registerRecipeEditor(AppContext& app)
{
    app.windows.addFactory(forms::kEditRecipe, [&app]() -> QWidget* {
        const std::string cookbook = app.state.currentCookbookFile;
        const std::size_t occurrence = app.state.editOccurrence;
        auto record = recipes::loadForEdit(app.state.folder, cookbook,
                                           store::RecordKey{app.state.editRecipe, occurrence});
        // A recipe that is not there (deleted meanwhile, or a stale name) opens no editor: an
        // empty form could only be cancelled.
        if (!record) {
            app.services.prompter.inform(toQString(record.error()), QStringLiteral("Error"),
                                         MessageIcon::Exclamation);
            return nullptr;
        }
        app.windows.close(forms::kViewer);
        auto* editor = new RecipeEditor(app, cookbook, std::move(*record), occurrence);
        // The boxes of several lines grow with the window; Escape does not throw the typing
        // away, only Cancel does.
        QMdiSubWindow* frame = app.windows.add(editor, WindowKind::Document);
        const QSize room = app.windows.area()->viewport()->size();
        if (frame->width() > room.width() || frame->height() > room.height()) {
            frame->resize(frame->size().boundedTo(room));
        }
        app.windows.centerForm(editor);
        editor->setFocus();
        // The opener may close windows of its own after this (the viewer closes the browser),
        // and each hands the focus back to the window it came from; the editor is where the
        // cook types next.
        QTimer::singleShot(0, editor, [&app, editor] {
            if (QMdiSubWindow* own = app.windows.subWindowOf(editor)) {
                app.windows.area()->setActiveSubWindow(own);
            }
            editor->setFocus();
        });
        return editor;
    });
}

}  // namespace culvora::gui
