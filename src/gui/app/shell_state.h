#pragma once

#include <string>

#include "core/files/files.h"

namespace culvora::gui {

// The shell's shared state: one instance, owned by the main window, handed to each window by
// reference. Texts are Windows-1252, as the data files hold them.
struct ShellState {
    ProgramFolder folder;
    std::string currentCookbookFile;
    std::string selectedRecipe;
    std::string editRecipe;
    std::string dragRecipe;
    int moveIndex = 0;
    std::string targetBookTitle;
    bool checkNewIngredients = false;
    int headingCount = 0;
    int nameCount = 0;
    int lastFocusedBox = 0;
};

}  // namespace culvora::gui
