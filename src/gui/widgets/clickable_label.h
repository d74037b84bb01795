#pragma once

// A label that works as a button: the banner's web address, the welcome screen's picture
// tiles and its function buttons. It tells when the mouse moves over it or leaves it, acts on
// a click, and can take the keyboard focus: then Enter or Space clicks it, and a ring shows
// where the focus is.

#include <QLabel>

namespace culvora::gui {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    enum class Click {
        PressAndRelease,  // a press and a release on the label, as a button clicks
        Release,          // a release on the label is enough (the mouse may come pressed)
    };

    explicit ClickableLabel(QWidget* parent = nullptr, Click click = Click::PressAndRelease);

    // Takes part in the Tab order and answers Enter and Space.
    void setKeyboardFocusable(bool focusable);

signals:
    void hovered();
    void left();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Click click_;
    bool pressed_ = false;
};

}  // namespace culvora::gui
