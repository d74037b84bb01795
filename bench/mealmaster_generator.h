#pragma once

// Makes Meal-Master archives of any size for the benchmarks: recipes in both header styles,
// with groups, a heading, continuations and two-column rows, about 1 KB each (so 83,000
// recipes are about 82 MB), in UTF-8 behind a mail header as archives often are.

#include <string>

#include "cookbook_generator.h"
#include "core/text/text.h"

namespace culvora::bench {

inline std::string mealMasterRecipe(int i)
{
    const bool msStyle = i % 2 == 0;
    std::string out = msStyle ? "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n"
                              : "---------- Recipe via Meal-Master (tm) v7.04\r\n\r\n";
    // UTF-8, as archives are written today: Å, Ä and Ö arrive as themselves.
    out += "      Title: " + text::toUtf8(generatedName(i)) + "\r\n";
    out += " Categories: Main dish, Potatoes\r\n";
    out += msStyle ? "      Yield: 4 Servings\r\n \r\n" : "   Servings:  6\r\n\r\n";
    out += "MMMMM---------------------------SAUCE------------------------------\r\n";
    out += "      2 c  Milk                              1 ts Salt\r\n";
    out += "      3    Eggs; beaten until light\r\n";
    out += "           -and fluffy\r\n";
    out += "    400 g  Potatoes\r\n";
    out += "      1    Onion; chopped\r\n";
    out += "      2 tb Butter                            1    Clove garlic\r\n\r\n";
    out += "MMMMM--------------------------TOPPING-----------------------------\r\n";
    out += "    100 g  Cheese; grated\r\n";
    out += "      1 tb Parsley; chopped\r\n\r\n";
    out += "  Peel and slice the potatoes. Fry the onion and the garlic in the butter\r\n";
    out += "  until soft. Whisk milk, eggs and salt, pour over the potatoes in a\r\n";
    out += "  buttered dish and top with the cheese.\r\n\r\n";
    out += "  Bake at 200 degrees until golden, about 40 minutes, and sprinkle with the\r\n";
    out += "  parsley before serving.\r\n\r\n";
    out += "  The dish keeps for two days in the refrigerator; warm it in the oven at\r\n";
    out += "  150 degrees, covered, for about 20 minutes.\r\n\r\n";
    out += msStyle ? "MMMMM\r\n\r\n" : "-----\r\n\r\n";
    return out;
}

inline std::string mealMasterArchive(int count)
{
    std::string out = "From: archive@example.org\r\nSubject: recipes\r\n\r\n";
    for (int i = 0; i < count; ++i) out += mealMasterRecipe(i);
    return out;
}

}  // namespace culvora::bench
