#include "gui/recipes/printout_window.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/app/printing.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/recipes/recipe_viewer.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

PrintoutWindow::PrintoutWindow(AppContext& app, recipes::ShownRecipe shown, QWidget* parent)
    : QWidget(parent),
      app_(app),
      opened_(std::move(shown))
{
    setObjectName(forms::kPrintout);
    setWindowTitle(QStringLiteral("Print"));
    theme::setPaper(this);
    setStyleSheet(theme::editorStyle());

    // Which recipe this is about, so a second viewer or a Forward click leaves no doubt.
    nameLabel_ = new QLabel(this);
    nameLabel_->setObjectName(QStringLiteral("recipeName"));
    nameLabel_->setFont(theme::serifFont(13));
    nameLabel_->setWordWrap(true);
    nameLabel_->setTextFormat(Qt::PlainText);
    nameLabel_->setMaximumWidth(320);
    theme::setInk(nameLabel_, theme::kTitleInk);
    showRecipeName();

    auto* card = new QFrame(this);
    card->setProperty("card", true);
    recipeOption_ = new QRadioButton(QStringLiteral("Recipe"), card);
    recipeOption_->setObjectName(QStringLiteral("option2"));
    recipeOption_->setToolTip(
        QStringLiteral("The name, servings, cooking time, ingredients and instructions"));
    groceryOption_ = new QRadioButton(QStringLiteral("Grocery list"), card);
    groceryOption_->setObjectName(QStringLiteral("option1"));
    groceryOption_->setToolTip(QStringLiteral("Only the ingredients, to take to the shop"));
    auto* group = new QButtonGroup(this);
    group->addButton(recipeOption_);
    group->addButton(groceryOption_);
    recipeOption_->setChecked(true);
    for (QRadioButton* option : {recipeOption_, groceryOption_}) {
        option->setFont(theme::sansFont(10));
        option->setCursor(Qt::PointingHandCursor);
        // Enter on a choice prints it, as "Ok" does; it does not merely choose it again.
        option->installEventFilter(this);
    }
    auto* options = new QVBoxLayout(card);
    options->setContentsMargins(14, 10, 14, 10);
    options->setSpacing(6);
    options->addWidget(recipeOption_);
    options->addWidget(groceryOption_);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {ok, cancelButton}) {
        b->setFont(theme::sansFont(10));
        b->setMinimumSize(88, 28);
    }
    connect(ok, &QPushButton::clicked, this, &PrintoutWindow::printAndClose);
    connect(cancelButton, &QPushButton::clicked, this, &PrintoutWindow::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(nameLabel_);
    layout->addWidget(card);
    layout->addLayout(buttons);
    setMinimumWidth(260);
    recipeOption_->setFocus();
}

bool PrintoutWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == recipeOption_ || watched == groceryOption_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            printAndClose();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

recipes::ShownRecipe PrintoutWindow::recipeToPrint() const
{
    if (auto* viewer = app_.windows.find<RecipeViewer>(forms::kViewer)) {
        return viewer->shownRecipe();
    }
    return opened_;
}

void PrintoutWindow::showRecipeName()
{
    nameLabel_->setText(fromCp(recipeToPrint().name));
}

void PrintoutWindow::printAndClose()
{
    const recipes::ShownRecipe shown = recipeToPrint();
    const bool grocery = groceryOption_->isChecked();
    const auto& folder = app_.state.folder;
    const std::string& book = app_.state.currentCookbookFile;
    auto lines = grocery ? recipes::groceryLines(folder, book, shown.name, shown.occurrence,
                                                 shown.servings)
                         : recipes::recipeLines(folder, book, shown);
    if (!lines) {
        app_.services.prompter.inform(toQString(lines.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    } else {
        const QString name = fromCp(shown.name);
        sendToPrinter(grocery ? name + QStringLiteral(" - grocery list") : name,
                      recipes::printJob(*lines), app_.services.printer);
    }
    app_.windows.closeWindow(this);
}

void PrintoutWindow::cancel()
{
    app_.windows.closeWindow(this);
}

void registerPrintoutWindow(AppContext& app)
{
    app.windows.addFactory(forms::kPrintout, [&app]() -> QWidget* {
        auto* viewer = app.windows.find<RecipeViewer>(forms::kViewer);
        if (!viewer) {
            app.services.prompter.inform(
                QStringLiteral("Open the recipe you want to print first, then click Print in "
                               "its window."),
                QStringLiteral("Info"));
            return nullptr;
        }
        auto* window = new PrintoutWindow(app, viewer->shownRecipe());
        QMdiSubWindow* frame = app.windows.add(window, WindowKind::Dialog);
        // "Print" in the viewer brings an open printout back: by then the viewer may show
        // another recipe.
        QObject::connect(frame, &QMdiSubWindow::aboutToActivate, window,
                         &PrintoutWindow::showRecipeName);
        app.windows.centerForm(window);
        return window;
    });
}

}  // namespace culvora::gui
