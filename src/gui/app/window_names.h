#pragma once

// The form names of every window: each window's objectName, and the names the registry,
// the menus, the toolbars and the drop targets open them by; and the names of the menu items
// other subsystems give their work to. Nothing looks a window up by a bare string literal.

#include <QLatin1String>

namespace culvora::gui::forms {

// Application shell
inline constexpr QLatin1String kMain{"Huvud"};
inline constexpr QLatin1String kSplash{"frmSplash"};
inline constexpr QLatin1String kWelcome{"welcome"};
inline constexpr QLatin1String kAbout{"om"};

// Cookbook store
inline constexpr QLatin1String kCookbooks{"Valj"};
inline constexpr QLatin1String kNewBook{"nybok"};
inline constexpr QLatin1String kRecipeTypes{"nytyp"};
inline constexpr QLatin1String kDestination{"frmWhere"};
inline constexpr QLatin1String kBin{"frmPapperskorg"};

// Recipes
inline constexpr QLatin1String kBrowser{"recept"};
inline constexpr QLatin1String kViewer{"Visa"};
inline constexpr QLatin1String kNewRecipe{"NyttRecept"};
inline constexpr QLatin1String kEditRecipe{"RedigeraRecept"};
inline constexpr QLatin1String kPrintout{"SkrivUt"};
inline constexpr QLatin1String kPicture{"visabild"};

// Finding recipes ("Sök" in Latin-1)
inline constexpr QLatin1String kSearch{"S\xF6k"};
inline constexpr QLatin1String kFridgeList{"listan"};
inline constexpr QLatin1String kNewIngredients{"frmAdd"};
inline constexpr QLatin1String kFridgeSearch{"kylen"};

// Nutrition and the weekly menu
inline constexpr QLatin1String kNutrition{"Indx"};
inline constexpr QLatin1String kCalculator{"cal"};
inline constexpr QLatin1String kWeeklyMenu{"frmMenu"};

// Drinks
inline constexpr QLatin1String kDrinks{"drinkar"};
inline constexpr QLatin1String kDrinkViewer{"VisaDrink"};
inline constexpr QLatin1String kNewDrink{"nydrink"};
inline constexpr QLatin1String kEditDrink{"editdrink"};

// Import, export and backup
inline constexpr QLatin1String kArchive{"frmGenWiz"};
inline constexpr QLatin1String kBackup{"frmBackup"};
inline constexpr QLatin1String kRestore{"frmRestore"};
inline constexpr QLatin1String kProgress{"frmProgress"};
inline constexpr QLatin1String kWebImport{"frmWebImport"};

// The recipe exchange
inline constexpr QLatin1String kDownload{"frmDownload"};
inline constexpr QLatin1String kUpload{"frmUpload"};

}  // namespace culvora::gui::forms

// The menu items whose work another subsystem registers (Shell::setMenuAction).
namespace culvora::gui::menus {

inline constexpr QLatin1String kImportMealMaster{"mnuImport"};
inline constexpr QLatin1String kImportCookbook{"mnu4"};
inline constexpr QLatin1String kExportMealMaster{"mnuExportMealMaster"};
inline constexpr QLatin1String kImportWebPage{"mnuImportWeb"};

}  // namespace culvora::gui::menus
