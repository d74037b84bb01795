#pragma once

// Makes cookbooks of any size for the benchmarks: varied names over the whole alphabet
// (some with Å, Ä, Ö and W), realistic ingredient and instruction lengths (about 500 bytes a
// record, so 20,000 recipes are about 10 MB).

#include <string>
#include <vector>

#include "core/store/cookbook.h"

namespace culvora::bench {

inline std::string generatedName(int i)
{
    static const char* const first[] = {
        "Apple",   "Baked",  "Creamy",   "Dill",     "Easy",   "Fried",  "Garlic", "Hearty",
        "Italian", "Juicy",  "Kale",     "Lemon",    "Mild",   "Nutty",  "Oven",   "Plum",
        "Quick",   "Rustic", "Spicy",    "Tangy",    "Upside", "Velvet", "Warm",   "Xmas",
        "Yellow",  "Zesty",  "\xC5land", "\xC4ppel", "\xD6rt"};
    static const char* const second[] = {"soup",  "pie",       "stew",     "salad",   "cake",
                                         "bread", "casserole", "pancakes", "risotto", "curry"};
    return std::string(first[i % 29]) + " " + second[(i / 29) % 10] + " no. " + std::to_string(i);
}

inline store::RecipeRecord generatedRecord(int i)
{
    store::RecipeRecord r;
    r.name = generatedName(i);
    r.servings = std::to_string(2 + i % 6);
    r.cookingTime = std::to_string(10 + (i * 7) % 110);
    r.ingredients =
        "2 dl milk\r\n3 eggs\r\n1 tsk salt\r\n400 g potatoes\r\n1 onion\r\n2 msk butter\r\n"
        "1 clove garlic\r\n100 g cheese";
    r.instructions =
        "Peel and slice the potatoes. Fry the onion and the garlic in the butter until soft.\r\n"
        "Whisk milk, eggs and salt, pour over the potatoes in a buttered dish and top with the "
        "cheese.\r\nBake at 200 degrees until golden, about 40 minutes.";
    r.type = "Hot dish";
    return r;
}

inline std::string generatedCookbook(int count)
{
    std::vector<store::RecipeRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) records.push_back(generatedRecord(i));
    return store::withAppended("", records);
}

}  // namespace culvora::bench
