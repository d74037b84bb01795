#include "core/exchange/exchange_operator.h"

#include <algorithm>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "core/exchange/exchange_formats.h"
#include "core/files/files.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::exchange {

namespace {

namespace fs = std::filesystem;

// --- The starter tree ------------------------------------------------------------------------

struct StarterRecipe {
    std::string_view stem;
    std::string_view name;
    std::string_view servings;
    std::string_view minutes;
    std::string_view ingredients;   // one per line
    std::string_view instructions;  // one step per line
    std::string_view type;          // one of the delivered recipe types
};

struct StarterCategory {
    std::string_view entry;  // the network.txt line without its "|folder"
    std::string_view folder;
    std::span<const StarterRecipe> recipes;
};

constexpr StarterRecipe kSoups[] = {
    {"20250310091512", "Red lentil soup with cumin", "4", "35",
     "2 dl red lentils\n1 onion\n2 cloves garlic\n1 carrot\n2 tbsp olive oil\n"
     "1 tsp ground cumin\n1/2 tsp chili flakes\n1 can crushed tomatoes (400 g)\n"
     "1 litre vegetable stock\n1/2 lemon\nsalt\npepper",
     "Chop the onion, garlic and carrot finely and soften them in the oil over medium heat for "
     "5 minutes.\n"
     "Stir in the cumin and chili flakes and let them sizzle for half a minute.\n"
     "Rinse the lentils and add them with the tomatoes and the stock. Simmer for 20 minutes, "
     "until the lentils fall apart.\n"
     "Blend the soup smooth or leave it rustic, squeeze in the lemon and season with salt and "
     "pepper.\n"
     "Serve with a spoonful of yoghurt and warm bread.",
     "First Course"},
    {"20250421174205", "Nässelsoppa", "4", "40",
     "2 litres young nettle tops\n1 onion\n2 tbsp butter\n2 tbsp flour\n"
     "1 litre vegetable stock\n1 dl cream\nsalt\nwhite pepper\n4 eggs",
     "Wear gloves, pick only the top leaves of young spring nettles and rinse them well.\n"
     "Blanch the nettles in boiling salted water for 2 minutes, drain them and chop them "
     "finely.\n"
     "Soften the chopped onion in the butter, stir in the flour and whisk in the stock a little "
     "at a time.\n"
     "Add the nettles and the cream and simmer for 5 minutes. Season with salt and white "
     "pepper.\n"
     "Boil the eggs for 8 minutes, halve them and serve them in the soup.",
     "First Course"},
};

constexpr StarterRecipe kStews[] = {
    {"20250912183340", "Chickpea and spinach stew", "4", "40",
     "2 cans chickpeas (400 g each)\n1 onion\n3 cloves garlic\n2 cm fresh ginger\n2 tbsp oil\n"
     "1 tsp turmeric\n1 tsp garam masala\n1 can coconut milk (400 ml)\n"
     "1 can crushed tomatoes (400 g)\n150 g baby spinach\nsalt\n1 lime",
     "Chop the onion and fry it in the oil until golden. Add the grated garlic and ginger and "
     "the spices and fry for a minute more.\n"
     "Pour in the tomatoes and the coconut milk, add the drained chickpeas and simmer for 20 "
     "minutes.\n"
     "Stir in the spinach a handful at a time until it wilts.\n"
     "Season with salt and the juice of the lime. Serve with rice or flatbread.",
     "Hot dish"},
    {"20251103120957", "Lamb and white bean stew", "6", "150",
     "1 kg lamb shoulder\n2 onions\n4 cloves garlic\n3 carrots\n2 tbsp olive oil\n"
     "2 tbsp tomato purée\n2 dl red wine\n5 dl stock\n2 sprigs rosemary\n"
     "2 cans white beans (400 g each)\nsalt\npepper",
     "Cut the lamb into large cubes, season it and brown it in the oil in batches. Take the "
     "meat out.\n"
     "Soften the onions and garlic in the same pot, stir in the tomato purée and pour in the "
     "wine; let it bubble for a minute.\n"
     "Put the meat back, add the stock and the rosemary, cover and simmer gently for 1 1/2 "
     "hours.\n"
     "Add the carrots in chunks and the drained beans and cook for 30 minutes more without the "
     "lid.\n"
     "Check the seasoning and serve with crusty bread.",
     "Hot dish"},
};

constexpr StarterRecipe kDinners[] = {
    {"20250602190114", "Pyttipanna", "4", "40",
     "8 boiled potatoes\n400 g leftover roast or smoked sausage\n1 large onion\n2 tbsp butter\n"
     "salt\npepper\n4 eggs\npickled beetroot",
     "Dice the potatoes, the meat and the onion into small, even cubes.\n"
     "Fry the potatoes in half the butter over high heat until golden and crisp, then push "
     "them aside.\n"
     "Fry the onion and the meat in the rest of the butter, mix everything together and season "
     "well.\n"
     "Fry the eggs in another pan and serve one on top of each portion, with pickled beetroot "
     "on the side.",
     "Hot dish"},
    {"20251015173822", "Korvstroganoff", "4", "25",
     "400 g falukorv or other mild sausage\n1 onion\n1 tbsp butter\n2 tbsp tomato purée\n"
     "1 tsp mustard\n2 dl cream\n1 dl milk\nsalt\npepper",
     "Cut the sausage into thin strips and chop the onion.\n"
     "Fry the onion in the butter until soft, add the sausage and fry until it takes some "
     "colour.\n"
     "Stir in the tomato purée and the mustard, then pour in the cream and the milk.\n"
     "Simmer for 5 minutes and season with salt and pepper. Serve with rice and pickled "
     "gherkins.",
     "Hot dish"},
    {"20260118184530", "Mushroom risotto", "4", "40",
     "300 g mushrooms\n1 onion\n1 clove garlic\n2 tbsp butter\n1 tbsp olive oil\n"
     "3 dl risotto rice\n1 dl dry white wine\n1 litre hot vegetable stock\n"
     "50 g grated parmesan\nsalt\npepper",
     "Slice the mushrooms and fry them in half the butter until golden. Set them aside.\n"
     "Soften the chopped onion and garlic in the oil, add the rice and stir until the grains "
     "turn glossy.\n"
     "Pour in the wine and let it cook away, then add the hot stock a ladle at a time, "
     "stirring, for about 18 minutes.\n"
     "When the rice is creamy but still has a little bite, stir in the mushrooms, the rest of "
     "the butter and the parmesan.\n"
     "Season, cover and let it rest for 2 minutes before serving.",
     "Hot dish"},
};

constexpr StarterRecipe kBaking[] = {
    {"20251129141003", "Havreflarn", "30", "30",
     "100 g butter\n2 1/2 dl rolled oats\n1 dl sugar\n2 tbsp golden syrup\n2 tbsp milk\n"
     "1 tbsp flour\n1/2 tsp baking powder",
     "Heat the oven to 175 degrees and line two trays with baking paper.\n"
     "Melt the butter in a saucepan, take it off the heat and stir in everything else.\n"
     "Put teaspoons of the batter well apart on the trays; they spread a lot.\n"
     "Bake for 6 to 8 minutes, until golden brown at the edges. Let them firm up on the tray "
     "before you lift them off.",
     "Desserts"},
};

constexpr StarterRecipe kBread[] = {
    {"20250207080145", "Overnight country loaf", "12", "75",
     "7 dl wheat flour\n1 dl wholemeal flour\n1/2 tsp dried yeast\n2 tsp salt\n"
     "4 dl cold water",
     "In the evening, stir the flour, yeast, salt and water into a shaggy dough in a large "
     "bowl. No kneading is needed.\n"
     "Cover and leave at room temperature overnight, 12 to 18 hours, until bubbly and doubled.\n"
     "Turn the dough onto a floured table, fold it into a round and let it rest seam down on a "
     "floured cloth for 1 hour.\n"
     "Heat the oven to 250 degrees with a cast-iron pot inside. Tip the dough into the hot pot "
     "and put the lid on.\n"
     "Bake for 30 minutes with the lid and 15 minutes without, until the crust is deep brown. "
     "Let it cool on a rack before you slice it.",
     "Accessories"},
    {"20251004103316", "Kardemummabullar", "24", "150",
     "50 g fresh yeast\n3 dl milk\n100 g butter\n1 dl sugar\n1/2 tsp salt\n"
     "2 tsp crushed cardamom\n8 dl wheat flour\n100 g soft butter for the filling\n"
     "1 dl sugar for the filling\n1 tbsp crushed cardamom for the filling\n1 egg\n"
     "pearl sugar",
     "Melt the butter, add the milk and warm it to 37 degrees. Crumble the yeast into a bowl "
     "and dissolve it in a little of the warm liquid.\n"
     "Add the rest of the liquid, the sugar, salt, cardamom and most of the flour, and knead "
     "for 10 minutes into a smooth dough.\n"
     "Let it rise under a towel for 45 minutes.\n"
     "Stir the soft butter, sugar and cardamom for the filling together.\n"
     "Roll the dough out to about 30 by 50 cm, spread the filling over it, fold it in half and "
     "cut it into strips.\n"
     "Twist each strip and tie it into a knot. Let the buns rise on lined trays for 30 "
     "minutes.\n"
     "Brush them with beaten egg, sprinkle with pearl sugar and bake at 225 degrees for 8 to "
     "10 minutes.",
     "Desserts"},
    {"20260226162248", "Quick soda bread", "8", "50",
     "5 dl wheat flour\n2 dl wholemeal flour\n1 tsp bicarbonate of soda\n1 tsp salt\n"
     "4 dl buttermilk",
     "Heat the oven to 220 degrees and dust a tray with flour.\n"
     "Mix the dry ingredients, pour in the buttermilk and stir quickly into a soft, sticky "
     "dough. Do not knead it.\n"
     "Shape it into a round on the tray, cut a deep cross on top and bake for 30 to 35 "
     "minutes.\n"
     "The bread is done when it sounds hollow underneath. Wrap it in a towel to keep the crust "
     "soft.",
     "Accessories"},
};

constexpr StarterRecipe kCakes[] = {
    {"20250530152741", "Kladdkaka", "8", "35",
     "100 g butter\n2 eggs\n2 1/2 dl sugar\n1 1/2 dl wheat flour\n4 tbsp cocoa\n"
     "1 tsp vanilla sugar\na pinch of salt",
     "Heat the oven to 175 degrees. Butter a round tin of about 22 cm and dust it with "
     "breadcrumbs.\n"
     "Melt the butter and let it cool a little.\n"
     "Whisk the eggs and the sugar just until combined, then stir in the flour, cocoa, vanilla "
     "sugar, salt and the melted butter.\n"
     "Pour the batter into the tin and bake in the middle of the oven for 15 to 20 minutes. "
     "The middle should stay soft and sticky.\n"
     "Let the cake cool in the tin and serve it with whipped cream and raspberries.",
     "Desserts"},
    {"20260305110422", "Lemon drizzle loaf", "10", "70",
     "175 g soft butter\n175 g sugar\n3 eggs\n2 lemons\n225 g wheat flour\n"
     "2 tsp baking powder\n1/2 dl milk\n100 g icing sugar",
     "Heat the oven to 175 degrees and line a loaf tin with baking paper.\n"
     "Beat the butter and sugar until pale, then beat in the eggs one at a time and the grated "
     "zest of both lemons.\n"
     "Fold in the flour and baking powder with the milk and spread the batter in the tin.\n"
     "Bake for 45 to 50 minutes, until a skewer comes out clean.\n"
     "Stir the icing sugar with the juice of one lemon and spoon it over the warm cake while it "
     "is still in the tin.",
     "Desserts"},
};

constexpr StarterRecipe kDesserts[] = {
    {"20251221200310", "Ris à la Malta", "6", "20",
     "5 dl cold rice porridge\n2 1/2 dl whipping cream\n1 tbsp sugar\n1 tsp vanilla sugar\n"
     "2 oranges",
     "Whip the cream with the sugar and the vanilla sugar to soft peaks.\n"
     "Loosen the cold rice porridge with a fork and fold in the cream.\n"
     "Peel the oranges, cut them into segments and fold in most of them.\n"
     "Serve it cold with the rest of the orange on top, or with a spoonful of raspberry sauce.",
     "Desserts"},
    {"20250515193659", "Baked rhubarb with vanilla cream", "4", "35",
     "500 g rhubarb\n1 dl sugar\n1 orange\n2 dl whipping cream\n1 tsp vanilla sugar",
     "Heat the oven to 200 degrees.\n"
     "Cut the rhubarb into 4 cm pieces and lay them in an ovenproof dish. Sprinkle over the "
     "sugar, the grated orange zest and the juice.\n"
     "Bake for 15 to 20 minutes, until the rhubarb is tender but still holds its shape.\n"
     "Whip the cream lightly with the vanilla sugar and serve it with the warm rhubarb and its "
     "syrup.",
     "Desserts"},
};

// The network.txt order: a "##" entry belongs to the "#!" entry above it.
constexpr StarterCategory kStarterCategories[] = {
    {"#!Soups and stews", "soups", kSoups},
    {"##Stews", "stews", kStews},
    {"# Everyday dinners", "dinners", kDinners},
    {"#!Baking", "baking", kBaking},
    {"##Bread", "bread", kBread},
    {"##Cakes", "cakes", kCakes},
    {"# Desserts", "desserts", kDesserts},
};

constexpr std::string_view kWelcome =
    "Welcome to the Culvora recipe exchange!\n"
    "Double-click a category, then a recipe to add it to one of your cookbooks.\n"
    "Recipes you send in are read by a person and published within a day.";

void appendCrLfLines(std::string_view cp1252, std::string& out)
{
    for (auto line : text::splitLineViews(cp1252)) {
        out += line;
        out += text::kCrLf;
    }
}

Result<std::string> recordOf(const StarterRecipe& recipe)
{
    const std::pair<std::string_view, std::string_view> fields[] = {
        {store::kTagName, recipe.name},
        {store::kTagServings, recipe.servings},
        {store::kTagTime, recipe.minutes},
        {store::kTagIngredients, recipe.ingredients},
        {store::kTagInstructions, recipe.instructions},
        {store::kTagType, recipe.type},
    };
    std::string record;
    for (const auto& [tag, utf8] : fields) {
        auto cp = text::fromUtf8(utf8);
        if (!cp) return std::unexpected(cp.error());
        record += tag;
        record += text::kCrLf;
        appendCrLfLines(*cp, record);
    }
    return record;
}

std::string networkFile()
{
    std::string out = "<\r\n";
    appendCrLfLines(kWelcome, out);
    out += ">\r\n";
    for (const auto& category : kStarterCategories) {
        out += category.entry;
        out += '|';
        out += category.folder;
        out += text::kCrLf;
    }
    out += "/end\r\n";
    return out;
}

Result<std::string> netIndexFile(const StarterCategory& category)
{
    auto title = text::fromUtf8(category.entry.substr(2));
    if (!title) return std::unexpected(title.error());
    std::string out = "Culvora recipe exchange: " + *title + "\r\n/begin\r\n";
    for (const auto& recipe : category.recipes) {
        auto name = text::fromUtf8(recipe.name);
        if (!name) return std::unexpected(name.error());
        out += netIndexLine(*name, recipe.stem);
        out += text::kCrLf;
    }
    out += "/end\r\n";
    return out;
}

bool present(const fs::path& path)
{
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() != fs::file_type::not_found;
}

Result<bool> makeFolder(const fs::path& folder)
{
    std::error_code error;
    const bool made = fs::create_directories(folder, error);
    if (error) {
        return fail(ErrorCode::Io, "Could not make the folder \"" + folder.string() +
                                       "\": " + error.message() + ".");
    }
    if (!fs::is_directory(folder, error)) {
        return fail(ErrorCode::Io, "\"" + folder.string() + "\" is there but is not a folder.");
    }
    return made;
}

// Writes a starter file only where there is none: the operator's own files stay as they are.
Result<void> writeNew(const fs::path& file, std::string_view content)
{
    if (present(file)) return {};
    return writeFileAtomic(file, content, file.filename().string() + ".tmp");
}

// --- Publishing ------------------------------------------------------------------------------

bool isExchangeFileName(std::string_view name)
{
    constexpr std::size_t digits = 14;
    return name.size() == digits + kExchangeExtension.size() &&
           name.ends_with(kExchangeExtension) &&
           std::all_of(name.begin(), name.begin() + digits,
                       [](char c) { return c >= '0' && c <= '9'; });
}

Result<Published> refused(std::string message)
{
    return fail(ErrorCode::Refused, std::move(message) + " Nothing was published.");
}

std::string inQuotes(std::string_view cp1252)
{
    return "\"" + text::toUtf8(cp1252) + "\"";
}

// netindex.txt with one more line just before its "/end" (or at the end of the entries when the
// file has none). A file without "/begin" shows nothing in the program whatever it lists, so
// adding to it would only hide the mistake.
Result<std::string> withIndexLine(std::string_view content, std::string_view entry,
                                  std::string_view folder)
{
    std::vector<std::string> lines = text::splitLines(content);
    if (lines.empty()) return "/begin\r\n" + std::string(entry) + "\r\n/end\r\n";
    const auto begin = std::ranges::find(lines, "/begin");
    if (begin == lines.end()) {
        return fail(ErrorCode::Refused, "The netindex.txt of " + inQuotes(folder) +
                                            " has no \"/begin\" line, so the program would list "
                                            "nothing there. Mend that file first. Nothing was "
                                            "published.");
    }
    const auto end = std::find(begin, lines.end(), "/end");
    if (end == lines.end()) {
        lines.emplace_back(entry);
        lines.emplace_back("/end");
    } else {
        lines.emplace(end, entry);
    }
    return text::joinLines(lines);
}

bool listsStem(std::string_view netIndex, std::string_view stem)
{
    for (auto line : text::splitLineViews(netIndex)) {
        const auto bar = line.find('|');
        if (bar != std::string_view::npos && line.substr(bar + 1) == stem) return true;
    }
    return false;
}

}  // namespace

Result<InitReport> initExchangeTree(const fs::path& root)
{
    InitReport report;
    const fs::path exchange = root / kExchangeFolder;
    const fs::path upload = exchange / kUploadFolderName;
    if (present(exchange / kNetworkFile)) {
        report.existed = true;
        auto made = makeFolder(upload);
        if (!made) return std::unexpected(made.error());
        report.madeUploadFolder = *made;
        return report;
    }
    for (const auto& category : kStarterCategories) {
        const fs::path folder = exchange / category.folder;
        if (auto made = makeFolder(folder); !made) return std::unexpected(made.error());
        for (const auto& recipe : category.recipes) {
            auto record = recordOf(recipe);
            if (!record) return std::unexpected(record.error());
            auto written = writeNew(
                folder / (std::string(recipe.stem) + std::string(kExchangeExtension)), *record);
            if (!written) return std::unexpected(written.error());
            ++report.recipes;
        }
        auto index = netIndexFile(category);
        if (!index) return std::unexpected(index.error());
        if (auto written = writeNew(folder / kNetIndexFile, *index); !written) {
            return std::unexpected(written.error());
        }
        ++report.categories;
    }
    auto made = makeFolder(upload);
    if (!made) return std::unexpected(made.error());
    report.madeUploadFolder = *made;
    if (auto written = writeNew(exchange / kNetworkFile, networkFile()); !written) {
        return std::unexpected(written.error());
    }
    return report;
}

Result<Published> publishExchangeFile(const fs::path& root, const fs::path& file,
                                      std::string_view folder)
{
    const std::string fileName = file.filename().string();
    if (!isExchangeFileName(fileName)) {
        return refused("\"" + fileName +
                       "\" is not named like an exchange file: fourteen digits (the time it was "
                       "made) and \".tvx\".");
    }
    if (!checkServerName(folder, "folder")) {
        return refused(inQuotes(folder) + " is not a plain folder name.");
    }
    const fs::path exchange = root / kExchangeFolder;
    auto network = readFile(exchange / kNetworkFile, false);
    if (!network) {
        if (network.error().code != ErrorCode::NotFound) return std::unexpected(network.error());
        return refused("There is no exchange tree in \"" + root.string() +
                       "\" (tavendi/network.txt is missing); make one with exchange-init.");
    }
    const CategoryList categories = parseNetwork(*network);
    const bool listed = std::ranges::any_of(categories.categories,
                                            [&](const Category& c) { return c.folder == folder; });
    if (!listed) {
        std::string known;
        for (const auto& category : categories.categories) {
            known += (known.empty() ? "" : ", ") + text::toUtf8(category.folder);
        }
        return refused("network.txt lists no category in the folder " + inQuotes(folder) +
                       (known.empty() ? "." : " (its folders are: " + known + ")."));
    }
    const fs::path target = exchange / text::toUtf8(folder);
    std::error_code ignored;
    if (!fs::is_directory(target, ignored)) {
        return refused("network.txt lists the folder " + inQuotes(folder) + ", but \"" +
                       target.string() + "\" is not there.");
    }

    auto content = readFile(file);
    if (!content) return std::unexpected(content.error());
    auto recipe = parseExchangeRecord(*content);
    if (!recipe) {
        return refused("\"" + fileName + "\" is not one complete recipe record (" + recipe.error() +
                       ").");
    }
    if (recipe->name.find('|') != std::string::npos) {
        return refused("The recipe's name " + inQuotes(recipe->name) +
                       " holds a \"|\", which netindex.txt keeps for the end of the name.");
    }

    // Two publishers at once must not both rewrite the same netindex.txt from the same read.
    auto lock = FolderLock::acquire(ProgramFolder(root));
    if (!lock) return std::unexpected(lock.error());
    const std::string stem = fileName.substr(0, fileName.size() - kExchangeExtension.size());
    const fs::path destination = target / fileName;
    if (present(destination)) {
        return refused(inQuotes(folder) + " holds \"" + fileName +
                       "\" already; a published file is never replaced.");
    }
    auto index = readFileOrEmpty(target / kNetIndexFile, false);
    if (!index) return std::unexpected(index.error());
    if (listsStem(*index, stem)) {
        return refused("The netindex.txt of " + inQuotes(folder) + " lists " + stem + " already.");
    }
    auto newIndex = withIndexLine(*index, netIndexLine(recipe->name, stem), folder);
    if (!newIndex) return std::unexpected(newIndex.error());

    // The exchange file goes first: a listed file that is not there yet would fail a download,
    // a file not listed yet is only invisible. What is published is what was checked.
    if (auto written = writeFileAtomic(destination, *content, fileName + ".tmp"); !written) {
        return std::unexpected(written.error());
    }
    if (auto written = writeFileAtomic(target / kNetIndexFile, *newIndex, "netindex.tmp");
        !written) {
        fs::remove(destination, ignored);
        return std::unexpected(written.error());
    }
    Published published{recipe->name, stem, destination, {}};
    std::error_code removeError;
    fs::remove(file, removeError);
    if (removeError) {
        published.warning = "The recipe is published, but \"" + file.string() +
                            "\" could not be removed: " + removeError.message() + ".";
    }
    return published;
}

}  // namespace culvora::exchange
