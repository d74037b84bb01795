#pragma once

// The two imports of the "&Cookbook" menu. They are operations, not windows: the transfer
// registers them with the shell's menu as it registers its windows with the registry. The
// Meal-Master import runs from its Timer1 once the destination chooser has closed, the
// cookbook import straight from its menu item.

#include <QString>
#include <QStringList>

#include "core/transfer/mealmaster.h"
#include "gui/app/app_context.h"

class QTimer;

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

// Gives "&Import from Meal Master..." (the destination chooser in its import mode, then
// Timer1) and "&Import cookbook..." their work, and makes Timer1.
void registerImports(AppContext& app);

// Timer1: the one-shot timer the destination chooser starts; it stops itself and runs the
// Meal-Master import into targetBookTitle. Made by registerImports; nullptr before.
QTimer* mealMasterTimer(AppContext& app);

}  // namespace culvora::gui
