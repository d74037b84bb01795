#pragma once

// The viewer's "HTML" key: the recipe on show saved as one web page where the user chooses.
// The page is made of what the viewer shows, not read from the cookbook again.

#include <QString>

#include "core/error.h"
#include "core/recipes/html_page.h"
#include "gui/app/app_context.h"

namespace culvora::gui {

// The viewer's texts as its controls hold them: the name (Label1), "(Serves 4)" (Label2),
// "Time to cook: 30 min" (Label3), and the ingredients (Text1) and instructions (Text2) with
// "\n" between their lines.
struct ShownRecipePage {
    QString name;
    QString servings;
    QString time;
    QString ingredients;
    QString instructions;
};

extern const QString kPageDialogTitle;

// The page's texts in Windows-1252, the two lists with each line ended by CR LF again.
Result<recipes::HtmlPageTexts> pageTexts(const ShownRecipePage& shown);

// The file name the save dialog proposes: the recipe's name, without the characters a file
// name cannot hold, and ".html".
QString proposedPageName(const QString& recipeName);

// Asks where to save the page (a name without an extension gets ".html"), replaces a file
// that is there, and says so when the page could not be written. Cancelling does nothing.
void saveRecipePage(AppContext& app, const ShownRecipePage& shown);

}  // namespace culvora::gui
