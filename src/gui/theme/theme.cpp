#include "gui/theme/theme.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace culvora::gui::theme {

QFont serifFont(qreal points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    return font;
}

QFont sansFont(qreal points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont headingFont()
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Dancing Script"))) {
        font.setFamily(QStringLiteral("Dancing Script"));
        font.setPixelSize(20);
    } else {
        font.setFamily(QStringLiteral("DejaVu Serif"));
        font.setStyleHint(QFont::Serif);
        font.setPixelSize(15);
    }
    font.setBold(true);
    return font;
}

QString paperButtonStyle()
{
    // The focus ring is drawn in the border: a keyboard user always sees where the focus is.
    return QStringLiteral(
        "QPushButton { background: #fffdf8; color: #4a2c20; border: 1px solid #d6b8a4;"
        "  border-radius: 4px; padding: 2px 8px; }"
        "QPushButton:hover { background: #fdece4; border-color: #c8553d; }"
        "QPushButton:pressed { background: #f7d8cc; }"
        "QPushButton:focus { border: 2px solid #d98c2b; }"
        "QPushButton:disabled { color: #cbbcb1; border-color: #eadcd2; background: #fbf6ee; }"
        "QPushButton[letter=\"true\"] { padding: 0; font-weight: bold; }"
        "QPushButton[letter=\"true\"]:checked { background: %1; border-color: %2; }"
        "QPushButton[dropTarget=\"true\"] { border-style: dashed; border-color: #c8553d; }"
        "QPushButton[dropTarget=\"true\"]:disabled { border-color: #eadcd2; }"
        "QPushButton[dropHover=\"true\"] { background: #e4f2dc; border: 2px solid #3e8e41; }")
        .arg(kHoney.name(), kHoneyEdge.name());
}

QString bookButtonStyle()
{
    return QStringLiteral(
        "QPushButton { background: #fbf3e2; color: #5a2a1a; border: 1px solid #b08a5a;"
        " border-radius: 6px; padding: 3px 12px; }"
        "QPushButton:hover { background: #f6e4c2; border-color: #8e5a2e; }"
        "QPushButton:pressed { background: #ecd3a6; }"
        "QPushButton:focus { border: 2px solid #d98c2b; }");
}

QString scrollBarStyle()
{
    return QStringLiteral(
        "QScrollBar:vertical { background: rgba(120, 80, 40, 30); width: 12px; border-radius: 6px;"
        " margin: 0; }"
        "QScrollBar::handle:vertical { background: #c9a57a; border-radius: 5px; min-height: 24px;"
        " margin: 1px; }"
        "QScrollBar::handle:vertical:hover { background: #b8432f; }"
        "QScrollBar::handle:vertical:disabled { background: transparent; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");
}

QString toolbarStyle()
{
    return QStringLiteral(
        "QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdf6e6,"
        " stop:1 #efe0c0); border: 0; border-bottom: 1px solid #c9ad80; padding: 2px 6px;"
        " spacing: 2px; }"
        "QToolButton { color: #4a2418; padding: 3px 7px; border-radius: 5px;"
        " border: 1px solid transparent; }"
        "QToolButton:disabled { color: #b8a68c; }"
        "QToolButton:hover:enabled { background: #f3dfb8; }"
        "QToolButton:focus { border: 1px solid #d98c2b; }"
        "QToolButton:pressed { background: #e8cc98; }"
        "QToolBar::separator { background: #c9ad80; width: 1px; margin: 5px 6px; }");
}

QString bannerAddressStyle()
{
    return QStringLiteral("QLabel { color: #8c2f1c; background: #fffaf0; border: 1px solid #e2cfa8;"
                          " border-radius: 10px; padding: 2px 12px; font-size: 10pt; }"
                          " QLabel:hover { text-decoration: underline; background: #ffffff; }"
                          " QLabel:focus { border: 2px solid #d98c2b; }");
}

QString instructionBoxStyle()
{
    return QStringLiteral(
               "QPlainTextEdit { background: white; color: #3a261a; border: 1px solid #decdaa;"
               " border-radius: 4px; padding: 6px 4px; selection-background-color: #f0d39a;"
               " selection-color: #3a261a; }"
               "QPlainTextEdit:focus { border: 1px solid #d98c2b; }") +
           scrollBarStyle();
}

QString editorStyle()
{
    return paperButtonStyle() + instructionBoxStyle() +
           QStringLiteral(
               "QPushButton:default { border-color: #c8553d; font-weight: bold; }"
               "QPushButton:default:focus { border: 2px solid #d98c2b; }"
               "QFrame[card=\"true\"] { background: #fffdf8; border: 1px solid #e2cfa8;"
               " border-radius: 8px; }"
               "QLabel { color: #6b4a33; background: transparent; }"
               "QLineEdit, QComboBox { background: white; color: #3a261a;"
               " border: 1px solid #decdaa; border-radius: 4px; padding: 3px 6px;"
               " selection-background-color: #f0d39a; selection-color: #3a261a; }"
               "QLineEdit:focus, QComboBox:focus { border: 2px solid #d98c2b; padding: 2px 5px; }"
               "QPlainTextEdit:focus { border: 2px solid #d98c2b; }"
               "QLineEdit:disabled { background: transparent; border: 1px solid transparent;"
               " color: #6e2216; font-weight: bold; }"
               "QComboBox QAbstractItemView { background: white; color: #3a261a;"
               " border: 1px solid #decdaa; selection-background-color: #f0d39a;"
               " selection-color: #3a261a; }");
}

QString searchStyle()
{
    // Built on the paper buttons rather than on the editors' look: the drop-down lists stay the
    // platform's own, in the window's paper colours, so that their arrow shows.
    return paperButtonStyle() + scrollBarStyle() +
           QStringLiteral(
               "QPushButton:default { font-weight: bold; border-color: #c8553d; }"
               "QPushButton:default:focus { border: 2px solid #d98c2b; }"
               "QLabel { color: #6b4a33; background: transparent; }"
               "QLabel[hint=\"true\"] { color: #a83a24; font-style: italic; }"
               "QLabel[heading=\"true\"] { color: #6e2216; }"
               "QFrame[card=\"true\"] { background: #fffdf8; border: 1px solid #e2cfa8;"
               " border-radius: 8px; }"
               "QGroupBox { background: #fffdf8; border: 1px solid #e2cfa8; border-radius: 8px;"
               " margin-top: 12px; padding: 14px 10px 10px 10px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 5px;"
               " color: #6e2216; font-weight: bold; }"
               "QComboBox QAbstractItemView { background: white; color: #3a261a;"
               " border: 1px solid #decdaa; selection-background-color: #f0d39a;"
               " selection-color: #3a261a; }"
               "QListWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
               " border-radius: 4px; padding: 2px; outline: 0; }"
               "QListWidget:focus { border: 2px solid #d98c2b; padding: 1px; }"
               "QListWidget::item { padding: 2px 4px; border-radius: 3px; }"
               "QListWidget::item:hover { background: #fbf1de; }"
               "QListWidget::item:selected { background: #f0d39a; color: #3a261a; }"
               "QListWidget::item:focus { border: 1px solid #d98c2b; }"
               "QProgressBar { background: white; border: 1px solid #decdaa; border-radius: 6px;"
               " min-height: 14px; max-height: 14px; text-align: center; color: transparent; }"
               "QProgressBar::chunk { background: #c03b2b; border-radius: 5px; }");
}

QString splashStyle()
{
    return QStringLiteral("#frmSplash { background: #fbf6ea; border: 2px solid #8c2f1c; }"
                          " QLabel { color: #4a2c1a; }");
}

QString bannerStripStyle()
{
    return QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }");
}

QString typeListStyle()
{
    return QStringLiteral(
        "QComboBox { combobox-popup: 0; }"
        "QComboBox::drop-down { border: none; width: 24px; }"
        "QComboBox QAbstractItemView::item { min-height: 24px; padding: 0 6px; }");
}

QString newRecipeStyle()
{
    return editorStyle() +
           QStringLiteral(
               "QPlainTextEdit { border-top-left-radius: 0; }"
               "QTabBar::tab { background: #f3e9d4; color: #6b4a33; border: 1px solid #decdaa;"
               "  border-bottom: none; border-top-left-radius: 5px; border-top-right-radius: 5px;"
               "  padding: 4px 16px; margin-right: 3px; font-size: 10pt; }"
               "QTabBar::tab:selected { background: white; color: #6e2216; font-weight: bold; }"
               "QTabBar::tab:hover:!selected { background: #fbf1dc; }"
               "QPushButton[character=\"true\"] { padding: 0; font-size: 12pt; }"
               "QLabel[heading=\"true\"] { color: #4a2418; font-weight: bold; }"
               "QLabel[hint=\"true\"] { color: #8a5a32; font-style: italic; }");
}

QString nameBarStyle(const QColor& ink, bool withName)
{
    if (!withName) return QStringLiteral("background: %1;").arg(ink.name());
    return QStringLiteral("background: %1; color: %2; padding: 1px 6px; border-radius: 3px;")
        .arg(ink.name(), browser::kBarText.name());
}

QString dayFrameStyle()
{
    return QStringLiteral("#ram { border: 2px solid %1; border-radius: 4px;"
                          " background: transparent; }")
        .arg(kTomato.name());
}

QString layoutPictureStyle(bool chosen)
{
    return chosen ? QStringLiteral("background: %1; border: 1px solid %2;"
                                   " border-radius: 6px; padding: 6px;")
                        .arg(kHoney.name(), kHoneyEdge.name())
                  : QStringLiteral("background: transparent; border: 1px solid transparent;"
                                   " border-radius: 6px; padding: 6px;");
}

QString nutritionStyle()
{
    return editorStyle() +
           QStringLiteral(
               "QGroupBox { background: #fffdf8; border: 1px solid #e2cfa8; border-radius: 8px;"
               " margin-top: 12px; padding: 14px 10px 10px 10px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 5px;"
               " color: #6e2216; font-weight: bold; }"
               "QLabel[heading=\"true\"] { color: #6e2216; font-weight: bold; }"
               "QLabel[hint=\"true\"] { color: #a83a24; font-style: italic; }"
               "QListWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
               " border-radius: 4px; padding: 2px; outline: 0; }"
               "QListWidget:focus { border: 1px solid #d98c2b; }"
               "QListWidget::item { padding: 1px 4px; border: 0; margin: 0; }"
               "QListWidget::item:hover { background: #fbf1de; }"
               "QListWidget::item:selected { background: #f0d39a; color: #3a261a; }"
               "QListWidget::item:focus { border: 1px solid #d98c2b; }"
               // The table's frame keeps its width with the focus: the names' column lies
               // over the table at that offset.
               "QTableView { background: white; alternate-background-color: #fcf7ec;"
               " color: #3a261a; border: 1px solid #decdaa; gridline-color: #efe4cd;"
               " selection-background-color: #f0d39a; selection-color: #3a261a; outline: 0; }"
               "QTableView:focus { border: 1px solid #d98c2b; }"
               "QHeaderView::section { background: #f6ebd3; color: #6e2216; border: 0;"
               " border-right: 1px solid #e2cfa8; border-bottom: 1px solid #d2b98c;"
               " padding: 2px 4px; font-weight: bold; }");
}

QString drinksStyle()
{
    return editorStyle() + scrollBarStyle() +
           QStringLiteral(
               "QWidget[drinks=\"true\"] { background: #f6ead3; }"
               "QLabel[heading=\"true\"] { color: #6e2216; font-weight: bold; }"
               "QLabel[glass=\"true\"] { background: #f3e3c3; border: 3px solid #6b4a33;"
               " border-radius: 5px; padding: 0; }"
               "QListWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
               " border-radius: 4px; padding: 2px; outline: 0; }"
               "QListWidget:focus { border: 2px solid #d98c2b; padding: 1px; }"
               "QListWidget::item { padding: 2px 6px; border-radius: 3px; }"
               "QListWidget::item:hover { background: #fbf1de; }"
               "QListWidget::item:selected { background: #f0d39a; color: #3a261a; }"
               "QListWidget::item:focus { border: 1px solid #d98c2b; }"
               "QTextEdit { background: white; color: #1e1a17; border: 1px solid #decdaa;"
               " border-radius: 4px; selection-background-color: #f0d39a;"
               " selection-color: #1e1a17; }"
               "QTextEdit:focus { border: 2px solid #d98c2b; }"
               "QPushButton[filterOn=\"true\"] { background: #f0d39a; border-color: #b8862b;"
               " font-weight: bold; }"
               "QPushButton[filterOn=\"true\"]:hover { background: #f5dfae; }"
               "QComboBox { combobox-popup: 0; }"
               "QComboBox::drop-down { border: none; width: 24px; }"
               "QComboBox QAbstractItemView::item { min-height: 26px; padding: 0 4px; }");
}

QString exchangeStyle()
{
    return editorStyle() + toolbarStyle() + scrollBarStyle() +
           QStringLiteral(
               "QTreeWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
               "  border-radius: 4px; padding: 2px; selection-background-color: #f0d39a;"
               "  selection-color: #3a261a; alternate-background-color: #fdf8ee; }"
               "QTreeWidget:focus { border: 2px solid #d98c2b; padding: 1px; }"
               "QTreeWidget::item { padding: 2px 0; }"
               "QHeaderView::section { background: #f6ecd6; color: #4a2418; border: 0;"
               "  border-right: 1px solid #e2cfa8; border-bottom: 1px solid #decdaa;"
               "  padding: 3px 6px; font-weight: bold; }"
               "QLabel[heading=\"true\"] { color: #6e2216; font-weight: bold; }"
               "QLabel[hint=\"true\"] { color: #6b4a33; font-style: italic; }"
               "QLabel[messages=\"true\"] { background: #fbf5e6; color: #3a261a;"
               "  border: 1px solid #e2cfa8; border-radius: 4px; padding: 5px 8px; }"
               "QStatusBar { background: #f3e9d2; color: #4a2418;"
               "  border-top: 1px solid #decdaa; }"
               "QStatusBar QLabel { color: #4a2418; padding: 1px 6px; }");
}

void setInk(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setPaper(QWidget* window)
{
    QPalette paper = window->palette();
    paper.setColor(QPalette::Window, kPaper);
    window->setPalette(paper);
    window->setAutoFillBackground(true);
}

void setSearchPaper(QWidget* window)
{
    QPalette paper = window->palette();
    paper.setColor(QPalette::Window, kPaper);
    paper.setColor(QPalette::WindowText, kInk);
    paper.setColor(QPalette::Base, kBox);
    paper.setColor(QPalette::Text, kInk);
    // The drop-down lists are drawn by the platform's style in these.
    paper.setColor(QPalette::Button, kCream);
    paper.setColor(QPalette::ButtonText, kBrownInk);
    paper.setColor(QPalette::Highlight, kFocus);
    window->setPalette(paper);
    window->setAutoFillBackground(true);
}

void setFridgeListPaper(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kPaper);
    palette.setColor(QPalette::Highlight, kHoney);
    palette.setColor(QPalette::HighlightedText, kInk);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setStyleSheet(
        editorStyle() + scrollBarStyle() +
        QStringLiteral("QListWidget { background: white; color: #3a261a; border: 1px solid #decdaa;"
                       "  border-radius: 4px; padding: 2px; selection-background-color: #f0d39a;"
                       "  selection-color: #3a261a; }"
                       "QListWidget:focus { border: 2px solid #d98c2b; padding: 1px; }"
                       "QListWidget::item { padding: 2px; }"
                       "QLabel[heading=\"true\"] { color: #4a2418; font-weight: bold; }"
                       "QLabel[hint=\"true\"] { color: #6b4a33; font-style: italic; }"
                       "QLabel[count=\"true\"] { color: #a83a24; font-weight: bold; }"));
}

QString transferStyle()
{
    // The paper buttons without the editors' boxes: drop-down lists, check boxes and option
    // buttons stay the platform's own, so their arrows, boxes and dots show.
    return paperButtonStyle() + scrollBarStyle() +
           QStringLiteral(
               "QPushButton:default { border-color: #c8553d; font-weight: bold; }"
               "QPushButton:default:focus { border: 2px solid #d98c2b; }"
               "QWidget[paper=\"true\"] { background: #fdf9f0; }"
               "QFrame[card=\"true\"] { background: #fffdf8; border: 1px solid #e2cfa8;"
               " border-radius: 8px; }"
               "QLabel { color: #6b4a33; background: transparent; }"
               "QLabel[heading=\"true\"] { color: #6e2216; font-weight: bold; }"
               "QLabel[hint=\"true\"] { color: #6b4a33; font-style: italic; }"
               "QLineEdit { background: white; color: #3a261a; border: 1px solid #decdaa;"
               " border-radius: 4px; padding: 3px 6px; selection-background-color: #f0d39a;"
               " selection-color: #3a261a; }"
               "QLineEdit:focus { border: 2px solid #d98c2b; padding: 2px 5px; }"
               "QGroupBox { background: #fffdf8; border: 1px solid #e2cfa8; border-radius: 8px;"
               " margin-top: 12px; padding: 14px 10px 10px 10px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 5px;"
               " color: #6e2216; font-weight: bold; }"
               "QProgressBar { background: white; border: 1px solid #decdaa; border-radius: 6px;"
               " min-height: 14px; max-height: 14px; text-align: center; color: #3a261a; }"
               "QProgressBar::chunk { background: #c03b2b; border-radius: 5px; }"
               "QSlider::groove:horizontal { height: 6px; background: #eadcc2;"
               " border-radius: 3px; }"
               "QSlider::sub-page:horizontal { background: #d9a36b; border-radius: 3px; }"
               "QSlider::handle:horizontal { background: #fffdf8; border: 1px solid #b08a5a;"
               " width: 14px; margin: -5px 0; border-radius: 7px; }"
               "QSlider::handle:horizontal:focus { border: 2px solid #d98c2b; }"
               // The archive wizard's colour sliders fill in their own colour.
               "QSlider#red2::sub-page:horizontal { background: #c9483a; }"
               "QSlider#green2::sub-page:horizontal { background: #4f9a45; }"
               "QSlider#blue2::sub-page:horizontal { background: #4a6fb5; }"
               "QTreeView { background: white; border: 1px solid #decdaa; border-radius: 4px;"
               " selection-background-color: #f0d39a; selection-color: #3a261a; outline: 0; }"
               "QTreeView:focus { border: 2px solid #d98c2b; }"
               "QTreeView:disabled { background: #f6f1e6; }"
               // The backup's folder list: grey while "Drive A:" is the destination, black
               // while it is used.
               "QTreeView#Dir1 { color: rgb(0, 0, 0); }"
               "QTreeView#Dir1:disabled { color: rgb(200, 200, 200); }");
}

}  // namespace culvora::gui::theme
