#pragma once

// The small pictures of the exchange windows, drawn here in the program's colours: the
// network (the tree's root, image 3), a closed folder (a category, image 2), an open folder
// (the chosen category, image 1), a recipe card (an entry of the recipe list), and the
// upload window's picture of a recipe card on its way to the exchange.

#include <QIcon>
#include <QPixmap>

namespace culvora::gui::exchange_pictures {

enum class TreeImage { OpenFolder = 1, ClosedFolder = 2, Network = 3 };

QIcon treeIcon(TreeImage image);
QIcon recipeIcon();
// About 96 x 80 logical pixels.
QPixmap uploadPicture();

}  // namespace culvora::gui::exchange_pictures
