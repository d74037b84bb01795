#pragma once

// "welcome" (Main menu): the first screen, over the whole of the main window. Six picture
// buttons on the menu artwork open the recipe, search, nutrition and drinks screens; five
// function buttons on the board below them open the cookbooks, the weekly menu, the download,
// the forum and the backup, each with a caption balloon while the mouse is on it.

#include <QPixmap>
#include <QWidget>

#include <array>

#include "gui/app/app_context.h"
#include "gui/app/geometry.h"

class QLabel;
class QPushButton;
class QTimer;

namespace culvora::gui {

// Where the menu box goes in a welcome window of the given size (all in twips): centred with
// CenterInside. The main window gives the welcome window exactly the area below its banner
// strip, so this is the middle of what the user sees. A window smaller than the box keeps the
// box's top left corner in view.
TwipRect placeMenuBox(TwipRect box, int windowWidth, int windowHeight);

class WelcomeScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPictureButtons = 6;
    static constexpr int kFunctionButtons = 5;

    explicit WelcomeScreen(AppContext& app, QWidget* parent = nullptr);

public slots:
    // Image1..Image6 by index 0..5.
    void hoverPictureButton(int index);
    void clickPictureButton(int index);
    // Command1(0..4).
    void hoverFunctionButton(int index);
    void releaseFunctionButton(int index);
    // Timer2: shows the balloon next to the button the mouse is on.
    void showCaptionBalloon();
    // The mouse is on the background: no underline, no balloon, no highlight.
    void leaveButtons();
    // Fades the buttons whose screens this program does not have (yet).
    void showAvailability();

public:
    bool pictureButtonAvailable(int index) const;
    bool functionButtonAvailable(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeMenu();
    void centreMenu();
    // A rectangle on the menu artwork where the menu is drawn at its present size.
    QRect scaled(const QRect& onPicture) const;
    void setHighlighted(int index, bool highlighted);

    AppContext& app_;
    QPixmap background_;
    QWidget* menuBox_ = nullptr;
    std::array<QWidget*, kPictureButtons> pictureButtons_{};
    std::array<QLabel*, kFunctionButtons> functionButtons_{};
    std::array<QPixmap, kFunctionButtons> normalPictures_{};
    std::array<QPixmap, kFunctionButtons> highlightPictures_{};
    std::array<bool, kFunctionButtons> highlighted_{};
    QWidget* underline_ = nullptr;
    QWidget* balloon_ = nullptr;
    QLabel* balloonLabel_ = nullptr;
    QTimer* balloonTimer_ = nullptr;
    QPushButton* focusTaker_ = nullptr;
    int balloonFor_ = -1;
};

}  // namespace culvora::gui
