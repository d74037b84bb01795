#include "gui/app/handover.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <utility>

#include "gui/app/app_context.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

void showRecipe(AppContext& app, const std::string& name, std::size_t occurrence)
{
    const QString viewerName = forms::kViewer;
    app.state.selectedRecipe = name;
    app.state.selectedOccurrence = occurrence;
    const bool wasOpen = app.windows.isOpen(viewerName);
    QWidget* viewer = app.windows.open(viewerName);
    if (!viewer) return;
    if (wasOpen) {
        if (auto* view = dynamic_cast<RecipeViewerView*>(viewer)) view->fillView();
    }
    viewer->setWindowTitle(QStringLiteral("Read recipe: ") + fromCp(name));
}

std::optional<std::size_t> followRemoval(std::size_t held, std::size_t removed)
{
    if (removed == held) return std::nullopt;
    return removed < held ? held - 1 : held;
}

void recordLeftCookbook(AppContext& app, std::string_view name, std::size_t occurrence)
{
    ShellState& state = app.state;
    // A name handed over and not yet taken up keeps pointing at the same record.
    for (auto [held, occurrenceHeld] :
         {std::pair{&state.selectedRecipe, &state.selectedOccurrence},
          std::pair{&state.editRecipe, &state.editOccurrence},
          std::pair{&state.dragRecipe, &state.dragOccurrence}}) {
        if (*held == name && *occurrenceHeld > occurrence) --*occurrenceHeld;
    }
    for (QMdiSubWindow* frame : app.windows.area()->subWindowList()) {
        if (auto* follower = dynamic_cast<RecordFollower*>(frame->widget())) {
            follower->recordRemoved(state.currentCookbookFile, name, occurrence);
        }
    }
}

QWidget* openDestinationChooser(AppContext& app, ChooserMode mode, QTimer* timer)
{
    QWidget* window = app.windows.open(forms::kDestination);
    auto* chooser = dynamic_cast<DestinationChoice*>(window);
    if (!chooser) return nullptr;
    chooser->setOperation(mode, timer);
    return window;
}

bool newRecipeHoldsText(AppContext& app)
{
    const auto* editor = dynamic_cast<NewRecipePrefill*>(app.windows.find(forms::kNewRecipe));
    return editor && editor->holdsText();
}

QWidget* openNewRecipeWith(AppContext& app, const NewRecipeFields& fields)
{
    QWidget* window = app.windows.open(forms::kNewRecipe);
    auto* editor = dynamic_cast<NewRecipePrefill*>(window);
    if (!editor) return nullptr;
    editor->prefill(fields);
    return window;
}

void refreshRecipeBrowser(AppContext& app)
{
    app.windows.reopen(forms::kBrowser);
}

void runNewIngredientCheck(AppContext& app, const std::vector<std::string>& ingredientLines,
                           search::CheckVariant variant, NothingNew nothingNew)
{
    // The list as it is now: words another window added since the caller opened count too.
    auto known = search::readFridgeList(app.state.folder);
    if (!known) {
        app.services.prompter.inform(toQString(known.error()), QStringLiteral("Error"),
                                     MessageIcon::Exclamation);
        refreshRecipeBrowser(app);
        return;
    }
    const auto offered = search::newIngredientCandidates(ingredientLines, *known, variant);
    if (offered.empty() && nothingNew == NothingNew::RefreshBrowser) {
        refreshRecipeBrowser(app);
        return;
    }
    auto* offer = dynamic_cast<IngredientOffer*>(app.windows.open(forms::kNewIngredients));
    if (!offer) {
        refreshRecipeBrowser(app);
        return;
    }
    offer->addWords(offered);
}

}  // namespace culvora::gui
