#pragma once

// The handlers of culvora-cli's commands, one per entry of the command table. A handler gets
// a command line that the table has checked already (argument count, options, value forms)
// and returns the exit code.

#include "cli/cli.h"

namespace culvora::cli {

// Recipes (culvora_cli.cpp, viewer_commands.cpp, edit_commands.cpp, print_commands.cpp,
// transfer_commands.cpp)
int listCommand(CliContext& c);
int indexCommand(CliContext& c);
int showCommand(CliContext& c);
int viewCommand(CliContext& c);
bool isServings(std::string_view value);
int nextCommand(CliContext& c);
int prevCommand(CliContext& c);
int addCommand(CliContext& c);
int editCommand(CliContext& c);
int deleteCommand(CliContext& c);
int moveCommand(CliContext& c);
int pictureCommand(CliContext& c);
int setPictureCommand(CliContext& c);
int printCommand(CliContext& c);
int htmlCommand(CliContext& c);

// Cookbooks and types (store_commands.cpp)
int booksCommand(CliContext& c);
int useCommand(CliContext& c);
int newBookCommand(CliContext& c);
int deleteBookCommand(CliContext& c);
int typesCommand(CliContext& c);
int addTypeCommand(CliContext& c);
int deleteTypeCommand(CliContext& c);

// Finding (search_commands.cpp, edit_commands.cpp)
int searchCommand(CliContext& c);
int fridgeCommand(CliContext& c);
int findCommand(CliContext& c);
int wordsCommand(CliContext& c);
int addWordCommand(CliContext& c);
int deleteWordCommand(CliContext& c);
int newWordsCommand(CliContext& c);

// Nutrition (nutrition_commands.cpp)
int nutritionCommand(CliContext& c);
int nutritionFindCommand(CliContext& c);
int kcalCommand(CliContext& c);
int pieCommand(CliContext& c);
bool isAmount(std::string_view nameEqualsGrams);

// The weekly menu (print_commands.cpp)
int menuCommand(CliContext& c);
int shoppingListCommand(CliContext& c);
bool isMeal(std::string_view value);

// Drinks (drink_commands.cpp)
int drinksCommand(CliContext& c);
int drinkCommand(CliContext& c);
int addDrinkCommand(CliContext& c);
int editDrinkCommand(CliContext& c);
int deleteDrinkCommand(CliContext& c);

// Restore from a backup (restore_commands.cpp)
int restoreCommand(CliContext& c);

// The bin (bin_commands.cpp)
int deletedCommand(CliContext& c);
int undeleteCommand(CliContext& c);

// Import, export, backup (transfer_commands.cpp)
int importMealMasterCommand(CliContext& c);
int importBookCommand(CliContext& c);
int exportMealMasterCommand(CliContext& c);
int archiveCommand(CliContext& c);
int backupCommand(CliContext& c);
bool isColour(std::string_view value);
bool isEncoding(std::string_view value);
// A recipe page (web_commands.cpp)
int importWebCommand(CliContext& c);
bool isRecipeIndex(std::string_view value);

// The exchange (exchange_commands.cpp, exchange_operator_commands.cpp)
int exchangeCategoriesCommand(CliContext& c);
int exchangeRecipesCommand(CliContext& c);
int exchangeDownloadCommand(CliContext& c);
int exchangeUploadCommand(CliContext& c);
bool isServerAddress(std::string_view value);
int exchangeInitCommand(CliContext& c);
int exchangePublishCommand(CliContext& c);

// Help (culvora_cli.cpp)
int helpCommand(CliContext& c);

}  // namespace culvora::cli
