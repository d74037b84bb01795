#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "core/files/files.h"

namespace culvora::gui {

// The shell's shared state: one instance, owned by the main window, handed to each window by
// reference. Texts are Windows-1252, as the data files hold them.
struct ShellState {
    ProgramFolder folder;
    // The files delivered with the program that it only reads (help pages, pictures), where
    // the program is installed; empty when there are none (delivered_files.h).
    std::filesystem::path deliveredFolder;
    std::string currentCookbookFile;
    // The recipes handed from screen to screen: each name with its occurrence, which of the
    // records of that name it is (0 for the first, in file order). A cookbook may hold a name
    // twice, and the second must be reached as surely as the first.
    std::string selectedRecipe;
    std::size_t selectedOccurrence = 0;
    std::string editRecipe;
    std::size_t editOccurrence = 0;
    std::string dragRecipe;
    std::size_t dragOccurrence = 0;
    int moveIndex = 0;
    std::string targetBookTitle;
    bool checkNewIngredients = false;
    int headingCount = 0;
    int nameCount = 0;
    // The text box of an editor with character buttons that had the focus last: 0 for none
    // (or a one-line box), 4 and 5 for the new-recipe editor's t4 and t5; the drink editor
    // uses 0, 2 and 3. It outlives the windows.
    int lastFocusedBox = 0;
};

}  // namespace culvora::gui
