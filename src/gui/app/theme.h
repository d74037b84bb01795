#pragma once

// The program's look in one place: the colours of the paper, the ink and the tomato-red
// accents, the fonts, and the style sheets of buttons, scroll bars and toolbars. Every window
// takes its colours and styles from here.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace culvora::gui::theme {

// Paper and cloth.
inline const QColor kPaper{0xFD, 0xF9, 0xF0};
inline const QColor kCream{0xFB, 0xF5, 0xE6};
inline const QColor kLinen{0xEA, 0xE0, 0xC8};
inline const QColor kDesk{0xE9, 0xE2, 0xD0};   // the main window's empty area
inline const QColor kTable{0xB9, 0x8A, 0x5A};  // the table under the open book

// Ink.
inline const QColor kInk{0x3A, 0x26, 0x1A};
inline const QColor kDarkInk{0x1E, 0x1A, 0x17};  // recipe names in the browser
inline const QColor kSoftInk{0x6B, 0x4A, 0x33};
inline const QColor kBrownInk{0x4A, 0x24, 0x18};
inline const QColor kTitleInk{0x6E, 0x22, 0x16};
inline const QColor kPressedInk{0x1B, 0x2F, 0x80};  // a pressed name, dark blue

// Accents.
inline const QColor kTomato{0xC0, 0x3B, 0x2B};
inline const QColor kAccent{0xB8, 0x43, 0x2F};
inline const QColor kHeading{0xA8, 0x3A, 0x24};
inline const QColor kBrown{0x8A, 0x5A, 0x32};
inline const QColor kBanner{0x8C, 0x2F, 0x1C};
inline const QColor kFocus{0xD9, 0x8C, 0x2B};       // the ring round a control with the focus
inline const QColor kPictureMat{0x84, 0x80, 0x7A};  // the grey round a picture of a dish

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
