#pragma once

// The program's look in one place: every colour as a named role (the paper, the ink, the
// tomato-red accents, and the colours of each picture the program draws itself), the fonts,
// and every style sheet. No other file writes a colour: a window takes its colours and styles
// from here. The theme sits below the widgets and the windows and includes nothing of them.

#include <QColor>
#include <QFont>
#include <QString>

#include <array>

class QWidget;

namespace culvora::gui::theme {

// Paper and cloth.
inline const QColor kPaper{0xFD, 0xF9, 0xF0};
inline const QColor kCream{0xFB, 0xF5, 0xE6};
inline const QColor kLinen{0xEA, 0xE0, 0xC8};
inline const QColor kDesk{0xE9, 0xE2, 0xD0};   // the main window's empty area
inline const QColor kTable{0xB9, 0x8A, 0x5A};  // the table under the open book
inline const QColor kCard{0xFF, 0xFD, 0xF8};   // a card or note on the paper
inline const QColor kCardEdge{0xE2, 0xCF, 0xA8};
inline const QColor kRule{0xEF, 0xE4, 0xCD};   // ruled lines on a card
inline const QColor kBox{0xFF, 0xFF, 0xFF};    // text boxes, lists, tiles: plain white
inline const QColor kHoney{0xF0, 0xD3, 0x9A};  // a chosen entry in a list
inline const QColor kHoneyEdge{0xD9, 0xA3, 0x6B};  // the edge of something chosen
// Nothing: the ground of a picture drawn in code, where what lies behind shows through.
inline const QColor kClear{0xFF, 0xFF, 0xFF, 0x00};

// Ink.
inline const QColor kInk{0x3A, 0x26, 0x1A};
inline const QColor kDarkInk{0x1E, 0x1A, 0x17};  // recipe names in the browser
inline const QColor kSoftInk{0x6B, 0x4A, 0x33};
inline const QColor kBrownInk{0x4A, 0x24, 0x18};
inline const QColor kTitleInk{0x6E, 0x22, 0x16};
inline const QColor kPressedInk{0x1B, 0x2F, 0x80};  // a pressed name, dark blue
inline const QColor kPrintInk{0x00, 0x00, 0x00};    // what the printer puts on paper

// Accents.
inline const QColor kTomato{0xC0, 0x3B, 0x2B};
inline const QColor kAccent{0xB8, 0x43, 0x2F};
inline const QColor kHeading{0xA8, 0x3A, 0x24};
inline const QColor kBrown{0x8A, 0x5A, 0x32};
inline const QColor kBanner{0x8C, 0x2F, 0x1C};
inline const QColor kFocus{0xD9, 0x8C, 0x2B};       // the ring round a control with the focus
inline const QColor kPictureMat{0x84, 0x80, 0x7A};  // the grey round a picture of a dish

// The welcome screen's menu, drawn when its pictures are missing, and what lies round it.
namespace welcome {
inline const QColor kCloth = kLinen;                  // the ground without bak.gif
inline const QColor kShadow{0x5A, 0x3A, 0x1A, 0x05};  // one of the ten rings of the shadow
inline const QColor kTileEdge = kCardEdge;
inline const QColor kTile = kBox;
inline const QColor kBoard{0xD8, 0xAE, 0x7C};  // the board under the function buttons
inline const QColor kButton = kCream;
inline const QColor kButtonEdge = kBrown;
inline const QColor kLitButton{0xFF, 0xF4, 0xD6};
inline const QColor kLitButtonEdge = kFocus;
inline const QColor kFaded{0xFB, 0xF5, 0xE6, 0xAA};  // over a tile whose screen is missing
inline const QColor kBalloon{0xFF, 0xF8, 0xE4};
}  // namespace welcome

// The recipe browser: its page drawn when recept.gif is missing, the bar under the name the
// mouse is on, and the drag pictures drawn when the delivered ones are missing.
namespace browser {
inline const QColor kTopRule{0xD4, 0x41, 0x29};
inline const QColor kHeadingRule{0xF1, 0xC2, 0xB5};
inline const QColor kFootRule{0xE7, 0xDB, 0xC3};
inline const QColor kFoot{0xED, 0xB9, 0xAA};
inline const QColor kBarText = kBox;  // a long name written out on the bar
inline const QColor kNoDrop{0xC0, 0x32, 0x24};
inline const QColor kCardEdge{0xB0, 0x80, 0x58};
inline const QColor kCard{0xFF, 0xFB, 0xF2};
inline const QColor kCardTitle{0xC8, 0x55, 0x3D};
inline const QColor kCardLines{0x90, 0x84, 0x78};
inline const QColor kDropMark{0x3E, 0x8E, 0x41};
inline const QColor kDropTick = kBox;
}  // namespace browser

// The recipe viewer: the book drawn when boken.gif is missing, the rule under the recipe's
// name, and the toolbar's pictures.
namespace book {
inline const QColor kTable = theme::kTable;
inline const QColor kCover{0x8E, 0x2F, 0x22};
inline const QColor kPageLight{0xFD, 0xF8, 0xEC};  // the page's outer edge
inline const QColor kPageShade{0xEE, 0xE2, 0xC8};  // towards the spine
inline const QColor kSpine{0x7A, 0x5A, 0x3A};
inline const QColor kNameRule{0xB8, 0x43, 0x2F, 0x96};
inline const QColor kToolInk{0x5A, 0x2E, 0x1C};
inline const QColor kToolPaper{0xFF, 0xFB, 0xF0};
inline const QColor kToolPrinter{0xD9, 0xB9, 0x8C};
inline const QColor kToolYellow{0xE8, 0xB4, 0x4A};  // the pencil, the sun
inline const QColor kToolHill{0x6F, 0x9A, 0x4E};
inline const QColor kToolBin{0xD9, 0x6A, 0x55};
inline const QColor kToolArrow{0x4F, 0x7A, 0x3A};
}  // namespace book

// The weekly menu's note on the fridge door.
namespace week {
inline const QColor kShadow{0x6B, 0x4A, 0x33, 0x28};
inline const QColor kNote = kCard;
inline const QColor kNoteEdge = kCardEdge;
inline const QColor kLines = kRule;
inline const QColor kMargin{0xE8, 0xB4, 0xA8};  // the red margin line of a notepad
inline const QColor kMagnetLight{0xE8, 0x6A, 0x55};
inline const QColor kMagnet = kTomato;
inline const QColor kMagnetEdge = kBanner;
}  // namespace week

// The ingredient viewer's pie chart: water, protein, fat and carbohydrates are always the
// 16-colour palette's dark blue, dark red, green and yellow, whatever the tones of the rest;
// the rim and the legend boxes' edges.
namespace chart {
inline const std::array<QColor, 4> kSlices = {QColor(0x00, 0x00, 0x80), QColor(0x80, 0x00, 0x00),
                                              QColor(0x00, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00)};
inline const QColor kRim{0x00, 0x00, 0x00, 0x5A};
inline const QColor kLegendEdge{0x00, 0x00, 0x00, 0x6E};
}  // namespace chart

// The drink viewer's text: the name in dark blue over the ingredients and instructions in
// black, as the drink is printed.
namespace drink_text {
inline const QColor kName{0x00, 0x00, 0x80};
inline const QColor kText{0x00, 0x00, 0x00};
}  // namespace drink_text

// The exchange windows' pictures: folders, the globe of the network, the recipe card.
namespace exchange {
inline const QColor kFolder{0xE9, 0xB8, 0x4E};
inline const QColor kFolderLight{0xF6, 0xD6, 0x86};
inline const QColor kFolderEdge{0xA0, 0x6C, 0x22};
inline const QColor kSea{0x5E, 0x9C, 0xB8};
inline const QColor kDeepSea{0x2F, 0x5F, 0x74};
inline const QColor kLand{0x7E, 0x9B, 0x4A};
inline const QColor kNet{0xFF, 0xFF, 0xFF, 0xAA};
inline const QColor kCard = kBox;
}  // namespace exchange

// The archive wizard's pictures of the two layouts: a small web browser.
namespace archive {
inline const QColor kWindow = kBox;
inline const QColor kLink{0x2F, 0x4D, 0xA8};
inline const QColor kText{0xBF, 0xAE, 0x94};
inline const QColor kFrame{0xFB, 0xF1, 0xDE};  // the frame with the list of recipes
}  // namespace archive

// Fonts: the classic faces where they are installed, metric-compatible or similar ones else.
QFont serifFont(qreal points);
QFont sansFont(qreal points, bool bold = false);
// The browser's letter headings: a decorative script when one is installed, else a bold serif.
QFont headingFont();

// Style sheets.
QString paperButtonStyle();  // the buttons of the paper windows (browser, dialogs)
QString bookButtonStyle();   // the buttons on the open book
QString scrollBarStyle();    // a slim vertical scroll bar on paper
QString toolbarStyle();      // the viewer's toolbar
QString bannerAddressStyle();
QString instructionBoxStyle();
// The recipe editors: paper buttons, white boxes with the focus ring, the name that cannot be
// changed shown as a heading, and the card (a QFrame with the property card=true) holding them.
QString editorStyle();
// The two searches: paper buttons (the default one in bold), option and result frames as
// cards (QGroupBox, or a QFrame with the property card=true), white lists and drop-down lists
// whose choices are marked in honey, a tomato-red progress bar, a hint line (a QLabel with the
// property hint=true) in italic red-brown and headings (heading=true) in the title ink.
QString searchStyle();
QString splashStyle();
// The banner strip of the main window: nothing round the banner picture.
QString bannerStripStyle();
// The editors' drop-down list of recipe types: the whole list drops down below the box.
QString typeListStyle();
// The new-recipe editor: the editors' look, and the tab strip over the text, the character
// buttons (a QPushButton with character=true) and the headings and hints.
QString newRecipeStyle();
// The browser's bar under the name the mouse is on, in `ink`; with the name written out on it
// when the name is cut short on the page.
QString nameBarStyle(const QColor& ink, bool withName);
// The weekly menu's frame round the chosen day (the QFrame "ram").
QString dayFrameStyle();
// The archive wizard's pictures of the two layouts: the chosen one on a honey mat.
QString layoutPictureStyle(bool chosen);
// The exchange windows: the editors' look, the viewer's toolbar, white category and recipe
// lists marked in honey with cream column headings, the message area (a QLabel with
// messages=true) as a note on cream paper, headings (heading=true) in the title ink, a hint
// line (hint=true) in italic, and a quiet status bar.
QString exchangeStyle();

// The nutrition windows: the editors' look, cards (QGroupBox) as in the searches, white lists
// and a table with honey-marked choices, cream headings and alternate rows, and headings
// (QLabel with heading=true) in the title ink.
QString nutritionStyle();

// The drinks windows: the editors' look on a warm honey ground, white lists and the drink's
// text on white with their choices in honey, the filter button in honey while a filter is set
// (a QPushButton with filterOn=true), headings (QLabel with heading=true) in the title ink,
// each glass picture in a frame of dark wood (a QLabel with glass=true), and drop-down lists
// that drop their whole list below the box with room for a picture beside each entry (the
// arrow is the widget's to draw).
QString drinksStyle();

// The small Fridge-list windows (the list editor and "New ingredients?"): the recipe editors'
// paper, boxes and buttons (the default one in bold), and white lists marked in honey, with
// headings, hints and the count (QLabel with heading=true, hint=true, count=true).
void setFridgeListPaper(QWidget* window);

// Sets the text colour of a label or a text box.
void setInk(QWidget* widget, const QColor& color);

// A window painted on the paper colour (its own background, filled).
void setPaper(QWidget* window);
// The searches' paper: ink on paper, white boxes, and drop-down lists (drawn by the platform's
// style) in cream with honey choices.
void setSearchPaper(QWidget* window);

// The archive and backup windows: paper (a QWidget with paper=true) and paper buttons (the
// default one in bold), cards (QGroupBox, or a QFrame with card=true), white text boxes, a
// tomato-red progress bar, honey sliders (the archive wizard's in red, green and blue), a white
// folder tree (the backup's Dir1 in grey while out of use), and headings and hints (QLabel
// with heading=true, hint=true).
QString transferStyle();

}  // namespace culvora::gui::theme
