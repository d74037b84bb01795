#pragma once

// The two imports of the "&Cookbook" menu. They are operations of the main window, not
// windows: the Meal-Master import runs from the main window's Timer1 once the destination
// chooser has closed, the cookbook import straight from its menu item.

#include <QString>
#include <QStringList>

#include "core/transfer/mealmaster.h"
#include "gui/app/app_context.h"

namespace culvora::gui {

// The file dialogs' title and filters, as Qt writes filters.
extern const QString kImportDialogTitle;
extern const QString kMealMasterFilter;
extern const QString kCookbookFilter;

// The encodings offered beside the Meal-Master file, in the order of transfer::TextEncoding;
// the first ("Detect") is selected at first.
QStringList importEncodingNames();

// Asks for the Meal-Master file and its encoding and imports every recipe into the cookbook
// titled targetBookTitle, then says how many came in and which were left out.
void importMealMasterFile(AppContext& app);

// Asks for a cookbook file (CM1) and appends its records to the current cookbook.
void importCookbookFile(AppContext& app);

}  // namespace culvora::gui
