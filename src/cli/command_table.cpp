// The command table: every command of culvora-cli, once. A new command is one entry here and
// one handler (commands.h); the parser, the help, the man page and the README's list follow.

#include <charconv>

#include "cli/commands.h"

namespace culvora::cli {

namespace {

bool isWholeNumber(std::string_view value)
{
    std::uint64_t n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    return !value.empty() && error == std::errc() && end == value.data() + value.size();
}

bool isMinutes(std::string_view value)
{
    int n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    return !value.empty() && error == std::errc() && end == value.data() + value.size() && n >= 0;
}

bool notEmpty(std::string_view value)
{
    return !value.empty();
}

// --- Arguments -------------------------------------------------------------------------------

constexpr ArgumentSpec kName[] = {{"NAME"}};
constexpr ArgumentSpec kTitle[] = {{"TITLE"}};
constexpr ArgumentSpec kNameTitle[] = {{"NAME"}, {"TITLE"}};
constexpr ArgumentSpec kTitleFile[] = {{"TITLE"}, {"FILE"}};
constexpr ArgumentSpec kNamePath[] = {{"NAME"}, {"PATH"}};
constexpr ArgumentSpec kNameOut[] = {{"NAME"}, {"OUT"}};
constexpr ArgumentSpec kNameGlass[] = {{"NAME"}, {"GLASS"}};
constexpr ArgumentSpec kWord[] = {{"WORD", Arity::One, notEmpty, "a word that is not empty"}};
constexpr ArgumentSpec kWords[] = {{"WORD", Arity::ZeroOrMore}};
constexpr ArgumentSpec kText[] = {{"TEXT"}};
constexpr ArgumentSpec kNames[] = {{"NAME", Arity::OneOrMore}};
constexpr ArgumentSpec kOutNames[] = {{"OUT"}, {"NAME", Arity::ZeroOrMore}};
constexpr ArgumentSpec kAmounts[] = {
    {"NAME=GRAMS", Arity::OneOrMore, isAmount, "an ingredient, \"=\" and a number of grams"}};
constexpr ArgumentSpec kFile[] = {{"FILE"}};
constexpr ArgumentSpec kDestination[] = {{"DEST"}};
constexpr ArgumentSpec kFolder[] = {{"FOLDER"}};
constexpr ArgumentSpec kFolderStem[] = {{"FOLDER"}, {"STEM"}};
constexpr ArgumentSpec kPublished[] = {{"FILE.tvx"}, {"FOLDER"}};
// "help exchange download": a command of a family is two words.
constexpr ArgumentSpec kHelpTopic[] = {{"COMMAND", Arity::ZeroOrMore}};

// --- Options ---------------------------------------------------------------------------------

constexpr OptionSpec kJson{"--json", "", "print one JSON document (UTF-8) for scripts"};
constexpr OptionSpec kJsonOnly[] = {kJson};

constexpr OptionSpec kSearchOptions[] = {
    {"--type", "TYPE", "the recipe type, one of those \"types\" lists", true},
    {"--max-time", "N", "the most minutes the recipe may take (inclusive)", true, false, isMinutes,
     "a whole number of minutes"},
    {"--with", "WORD", "an ingredient word the ingredients must contain", false, true},
    kJson,
};

constexpr OptionSpec kFindOptions[] = {
    {"--everywhere", "", "search every line of the recipes, not only their names"},
    kJson,
};

constexpr OptionSpec kServings{"--servings", "N", "the amounts for N servings instead", false,
                               false, isServings, "a whole number from 1 to 999"};
constexpr OptionSpec kViewOptions[] = {kServings, kJson};

constexpr OptionSpec kPrintOptions[] = {
    {"--grocery", "", "the grocery list: the ingredient lines only"},
    kServings,
    {"--pdf", "FILE", "write the printout as a PDF (- for standard output)"},
};

constexpr OptionSpec kNewWordsOptions[] = {
    {"--download", "", "the check a download runs (it keeps words in parentheses)"},
};


constexpr OptionSpec kMenuOptions[] = {
    {"--option", "light|casual|special",
     "a First Course; a Hot dish of at most 50 minutes; one of more", true, false, isMeal,
     "light, casual or special"},
    {"--with", "WORD", "an ingredient word the dish must contain, in this letter case", false,
     true},
    {"--seed", "N", "pick with this seed: the same seed gives the same week", false, false,
     isWholeNumber, "a whole number"},
    {"--pdf", "FILE", "write the printed menu as a PDF (- for standard output)"},
    {"--candidates", "", "list every recipe that may be a dish instead, in cookbook order"},
    {"--shopping-list", "", "also the week's shopping list; with --pdf the PDF is the list"},
};

constexpr OptionSpec kShoppingListOptions[] = {
    {"--pdf", "FILE", "write the printed list as a PDF (- for standard output)"},
};

constexpr OptionSpec kDrinksOptions[] = {
    {"--glass", "NAME", "only drinks in this glass, one of the glass filter's", false, true},
    kJson,
};

constexpr OptionSpec kImportOptions[] = {
    {"--to", "TITLE", "the cookbook the recipes go into", true},
    {"--encoding", "utf-8|cp850|cp1252", "the file's encoding (found out when not given)", false,
     false, isEncoding, "utf-8, cp850 or cp1252"},
};

bool isExportEncoding(std::string_view value)
{
    return value == "cp850" || value == "utf-8";
}

constexpr OptionSpec kExportOptions[] = {
    {"--book", "TITLE", "every recipe of the cookbook TITLE instead of the current one's"},
    {"--encoding", "cp850|utf-8", "the file's encoding (the default cp850)", false, false,
     isExportEncoding, "cp850 or utf-8"},
};

constexpr ArgumentSpec kPage[] = {{"FILE|URL"}};
constexpr OptionSpec kWebImportOptions[] = {
    {"--to", "TITLE", "the cookbook the recipe goes into", true},
    {"--type", "TYPE", "the type when the page names none of yours (the default Imported)"},
    {"--index", "N", "the N-th recipe of a page with several (the default 1)", false, false,
     isRecipeIndex, "a whole number from 1"},
    {"--name", "NEWNAME", "the name it gets instead of the page's (refused when taken)"},
};
constexpr std::string_view kWebImportDetails =
    "FILE is a page saved from a browser; URL an address that begins with https:// or http://.\n"
    "The recipe data recipe sites put in their pages (schema.org Recipe, as JSON-LD or\n"
    "microdata) gives the name, servings, time, ingredients and instructions; the last\n"
    "instruction line names the page. The type is the first of the page's categories that\n"
    "\"types\" lists, else --type. A recipe whose name the cookbook holds already goes in\n"
    "under the first free numbered name (\"Pancakes (2)\"); a --name that is taken is refused.";

constexpr OptionSpec kArchiveOptions[] = {
    {"--frames", "", "a list frame beside the recipe frame (the default)"},
    {"--no-frames", "", "the list page alone, links opening a new window"},
    {"--color", "RRGGBB", "the pages' background colour (hexadecimal, the default FFFFFF)", false,
     false, isColour, "six hexadecimal digits, as 0080FF"},
    {"--colour", "RRGGBB", {}, false, false, isColour, "six hexadecimal digits", "--color"},
    {"--image", "PATH", "a background picture instead of a colour"},
};

constexpr OptionSpec kBackupOptions[] = {
    {"--no-recipes", "", "leave the current cookbook out"},
    {"--no-drinks", "", "leave the drinks out"},
    {"--everything", "", "also the cookbook list and its cookbooks, bilder, sok, typer, *.kyl"},
};

constexpr OptionSpec kRestoreOptions[] = {
    {"--yes", "", "replace the files; without it, only list what would be replaced"},
};

constexpr OptionSpec kServer{
    "--server", "ftp://user@host:port", "another server than the one exchange.ini names", false,
    false,      isServerAddress,        "an address such as ftp://culvora@127.0.0.1:2121"};
constexpr OptionSpec kServerOnly[] = {kServer};
constexpr OptionSpec kDownloadOptions[] = {
    {"--to", "TITLE", "the cookbook the recipe goes into", true},
    {"--name", "NEWNAME", "the name it gets, when its own is taken in that cookbook"},
    kServer,
};

constexpr OptionSpec kRoot[] = {
    {"--root", "DIR", "the server's folder (the one scripts/exchange-server serves)", true, false,
     notEmpty, "a folder"},
};

std::string backupChoice(const Invocation& invocation)
{
    if (invocation.has("--no-recipes") && invocation.has("--no-drinks") &&
        !invocation.has("--everything")) {
        return "--no-recipes and --no-drinks leave nothing to copy";
    }
    return {};
}

std::string menuChoice(const Invocation& invocation)
{
    if (invocation.has("--candidates") && invocation.has("--pdf")) {
        return "--candidates lists the recipes, --pdf prints a week: give one of them";
    }
    if (invocation.has("--candidates") && invocation.has("--shopping-list")) {
        return "--candidates lists the recipes, --shopping-list buys for a week: give one of them";
    }
    return {};
}

std::string exportChoice(const Invocation& invocation)
{
    if (invocation.has("--book") && invocation.arguments.size() > 1) {
        return "--book exports a whole cookbook, NAME... recipes of the current one: give one "
               "of them";
    }
    return {};
}

std::string helpTopic(const Invocation& invocation)
{
    std::string topic;
    for (const auto& word : invocation.arguments) topic += (topic.empty() ? "" : " ") + word;
    if (!topic.empty() && commandsNamed(topic).empty()) {
        return "there is no command " + quotedArg(topic);
    }
    return {};
}

constexpr std::string_view kRecordInput =
    "one record in the cookbook format: [NAMN], the name, [PORTIONER], the servings, [TID], "
    "the minutes,\n[IND], the ingredient lines, [GÖRA], the instructions, [TYP], the type.";
constexpr std::string_view kDrinkInput =
    "the ingredient lines, a line [GÖRA], the mixing instructions.";

constexpr std::string_view kStemDetails =
    "FOLDER is a category folder, the second column of \"exchange categories\"; STEM is the\n"
    "third column of \"exchange recipes FOLDER\" (the exchange file's name without .tvx).\n"
    "A recipe whose name the cookbook holds already goes in under the first free numbered\n"
    "name (\"Pancakes (2)\"); a name given with --name that is taken is refused.";

// One entry a command, kept in the shape of a table rather than one field a line.
// clang-format off
const CommandSpec kCommands[] = {
    // Recipes
    {"list", Group::Recipes, {}, kJsonOnly, "The recipe names, in file order.", listCommand},
    {"index", Group::Recipes, {}, kJsonOnly,
     "The browser's list: letter headings, the names in alphabetical order, the count.",
     indexCommand},
    {"show", Group::Recipes, kName, kJsonOnly, "The recipe's record as the cookbook stores it.",
     showCommand},
    {"view", Group::Recipes, kName, kViewOptions,
     "The recipe as the viewer shows it: name, servings, time, ingredients, instructions.",
     viewCommand, {},
     "With --servings every amount the ingredient lines begin with is scaled to N servings;\n"
     "the cookbook is not changed. A recipe whose servings are not a number is refused."},
    {"next", Group::Recipes, kName, {}, "The name of the recipe after NAME (the viewer's Forward).",
     nextCommand},
    {"prev", Group::Recipes, kName, {}, "The name of the recipe before NAME (the viewer's Back).",
     prevCommand},
    {"add", Group::Recipes, {}, {}, "Add the recipe on standard input to the cookbook.",
     addCommand, kRecordInput},
    {"edit", Group::Recipes, kName, {}, "Replace the recipe with the version of it on standard input.",
     editCommand, kRecordInput,
     "The version keeps the recipe's name; it is saved with the checks the edit window makes."},
    {"delete", Group::Recipes, kName, {}, "Delete the recipe.", deleteCommand},
    {"move", Group::Recipes, kNameTitle, {}, "Move the recipe into the cookbook called TITLE.",
     moveCommand},
    {"deleted", Group::Recipes, {}, kJsonOnly,
     "The recipes and drinks deleted lately, newest first: name, cookbook, date.", deletedCommand},
    {"undelete", Group::Recipes, kName, {},
     "Put the newest deleted recipe or drink called NAME back where it came from.",
     undeleteCommand, {},
     "A recipe goes back at the end of the cookbook it was deleted from, a drink into the "
     "drinks; a name that is taken there gets a number, \"NAME (2)\"."},
    {"picture", Group::Recipes, kName, {}, "The path of the recipe's picture.", pictureCommand},
    {"set-picture", Group::Recipes, kNamePath, {},
     "Give the recipe the picture file PATH (an existing file; stored as a full path).",
     setPictureCommand},
    {"print", Group::Recipes, kName, kPrintOptions,
     "The recipe's printout (or grocery list) as text, or as a PDF.", printCommand, {},
     "With --servings the ingredient lines are scaled to N servings, as in the viewer."},
    {"html", Group::Recipes, kNameOut, {},
     "Write the recipe as an HTML page to OUT (- for standard output).", htmlCommand, {},
     "OUT is written only where nothing or a plain file stands; a link, a folder, a device or\n"
     "a FIFO there is refused."},

    // Cookbooks and types
    {"books", Group::Cookbooks, {}, kJsonOnly,
     "The cookbooks, by title, with their files; the current one is marked.", booksCommand},
    {"use", Group::Cookbooks, kTitle, {}, "Make the cookbook called TITLE the current one.",
     useCommand},
    {"new-book", Group::Cookbooks, kTitleFile, {}, "Add an empty cookbook TITLE in the file FILE.",
     newBookCommand},
    {"delete-book", Group::Cookbooks, kTitle, {}, "Delete the cookbook called TITLE and its file.",
     deleteBookCommand},
    {"types", Group::Cookbooks, {}, kJsonOnly, "The recipe types.", typesCommand},
    {"add-type", Group::Cookbooks, kName, {}, "Add a recipe type.", addTypeCommand},
    {"delete-type", Group::Cookbooks, kName, {}, "Delete a recipe type (not an original one).",
     deleteTypeCommand},

    // Finding
    {"search", Group::Finding, {}, kSearchOptions,
     "The recipes of a type within a cooking time, with every WORD in their ingredients.",
     searchCommand, {},
     "A word is found inside longer words and in any letter case (\"egg\" finds \"2 Eggs\")."},
    {"find", Group::Finding, kText, kFindOptions,
     "The recipes whose name holds TEXT, one a line, in the browser's order.", findCommand, {},
     "Letter case and accents do not count (\"creme\" finds \"Crème brûlée\"); Å, Ä and Ö\n"
     "are letters of their own. Nothing found prints nothing and is no failure."},
    {"fridge", Group::Finding, kWords, kJsonOnly,
     "The recipes whose known ingredients are all among the Fridge-list WORDs you have.",
     fridgeCommand},
    {"words", Group::Finding, {}, kJsonOnly, "The Fridge list of ingredient words.",
     wordsCommand},
    {"add-word", Group::Finding, kWord, {}, "Add a word to the Fridge list.", addWordCommand},
    {"delete-word", Group::Finding, kWord, {}, "Delete a word from the Fridge list.",
     deleteWordCommand},
    {"new-words", Group::Finding, {}, kNewWordsOptions,
     "The words of the ingredient lines on standard input that the Fridge list lacks.", newWordsCommand,
     "ingredient lines, one a line."},

    // Nutrition
    {"nutrition", Group::Nutrition, kName, kJsonOnly,
     "The nutrition table's values for an ingredient, per 100 g.", nutritionCommand},
    {"nutrition-find", Group::Nutrition, kText, {},
     "The first ingredient of the table whose name begins with TEXT.", nutritionFindCommand},
    {"kcal", Group::Nutrition, kAmounts, {},
     "The energy and nutrients of a dish of these ingredients and grams.", kcalCommand, {},
     "Each ingredient is a name of the nutrition table: \"kcal Butter=25 'Milk, whole=200'\"."},
    {"pie", Group::Nutrition, kName, {},
     "The water, protein, fat and carbohydrate shares of an ingredient, in percent and grams.",
     pieCommand},

    // The weekly menu
    {"menu", Group::Menu, {}, kMenuOptions,
     "A dish for each evening of the week, picked at random as the menu window picks.",
     menuCommand, {},
     "Each evening gets its own pick among the recipes that qualify, so a dish may come twice.\n"
     "Without --seed every run picks anew.",
     Needs::DataFolder, menuChoice},
    {"shopping-list", Group::Menu, kNames, kShoppingListOptions,
     "One shopping list for the recipes NAME...: like lines added up, the rest per recipe.",
     shoppingListCommand, {},
     "Lines of the same ingredient in the same unit are added up (\"3 dl milk\" and \"2 dl milk\"\n"
     "make \"5 dl milk\"); other lines are listed once per recipe with its name in brackets.\n"
     "A name given twice counts twice."},

    // Drinks
    {"drinks", Group::Drinks, {}, kDrinksOptions, "The drinks, in alphabetical order.",
     drinksCommand},
    {"drink", Group::Drinks, kName, kJsonOnly, "The drink's ingredients, instructions and glass.",
     drinkCommand},
    {"add-drink", Group::Drinks, kNameGlass, {},
     "Add a drink; its ingredients and instructions come on standard input.", addDrinkCommand,
     kDrinkInput},
    {"edit-drink", Group::Drinks, kNameGlass, {},
     "Replace a drink's ingredients, instructions (from standard input) and glass.",
     editDrinkCommand, kDrinkInput},
    {"delete-drink", Group::Drinks, kName, {}, "Delete a drink.", deleteDrinkCommand},

    // Import, export and backup
    {"import-mm", Group::Transfer, kFile, kImportOptions,
     "Import the recipes of a Meal-Master file into the cookbook TITLE.",
     importMealMasterCommand},
    {"export-mm", Group::Transfer, kOutNames, kExportOptions,
     "Write the recipes NAME... (else the whole cookbook) as a Meal-Master file OUT.",
     exportMealMasterCommand, {},
     "OUT is written only where nothing or a plain file stands; - is standard output.\n"
     "Code page 850 lacks some characters (the euro sign, curly quotes): they are written as\n"
     "\"?\" and counted; utf-8 keeps them.",
     Needs::DataFolder, exportChoice},
    {"import-book", Group::Transfer, kFile, {},
     "Append the recipes of another cookbook file to the current cookbook.", importBookCommand},
    {"import-web", Group::Transfer, kPage, kWebImportOptions,
     "Add the recipe of a web page (a saved file or an address) to the cookbook TITLE.",
     importWebCommand, {}, kWebImportDetails},
    {"archive", Group::Transfer, {}, kArchiveOptions,
     "Write the cookbook as web pages into the data folder's html folder.", archiveCommand},
    {"backup", Group::Transfer, kDestination, kBackupOptions,
     "Copy the current cookbook and the drinks into the folder DEST (A: for a removable medium).",
     backupCommand, {}, {}, Needs::DataFolder, backupChoice},
    {"restore", Group::Transfer, kFolder, kRestoreOptions,
     "Put the files of a backup in FOLDER back into the data folder.", restoreCommand, {},
     "Lists each file the backup holds (name, size, date, whether it replaces one) and, with\n"
     "--yes, replaces them one by one; without --yes nothing changes and the exit code is 1.\n"
     "Files the backup does not hold are left as they are."},

    // The exchange
    {"exchange categories", Group::Exchange, {}, kServerOnly,
     "The exchange's categories and their folders, and its message.", exchangeCategoriesCommand},
    {"exchange recipes", Group::Exchange, kFolder, kServerOnly,
     "The recipes of a category: name, date and time, STEM.", exchangeRecipesCommand, {},
     "FOLDER is the second column of \"exchange categories\"."},
    {"exchange download", Group::Exchange, kFolderStem, kDownloadOptions,
     "Add the recipe STEM of the category FOLDER to the cookbook TITLE.",
     exchangeDownloadCommand, {}, kStemDetails},
    {"exchange upload", Group::Exchange, kName, kServerOnly,
     "Send a recipe of the current cookbook to the exchange.", exchangeUploadCommand},

    // Running an exchange server
    {"exchange-init", Group::Server, {}, kRoot,
     "Make the starter tree of an exchange server in DIR (an existing tree is left alone).",
     exchangeInitCommand, {}, {}, Needs::Nothing},
    {"exchange-publish", Group::Server, kPublished, kRoot,
     "Publish a recipe that a user sent in (FILE.tvx) in the category FOLDER.",
     exchangePublishCommand, {}, {}, Needs::Nothing},

    // Help
    {"help", Group::Help, kHelpTopic, {}, "The list of commands, or one command's help.",
     helpCommand, {}, {}, Needs::Nothing, helpTopic},
};
// clang-format on

}  // namespace

std::span<const CommandSpec> commandTable()
{
    return kCommands;
}

}  // namespace culvora::cli
