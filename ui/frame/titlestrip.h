#pragma once

#include <QAccessible>
#include <QLabel>
#include <QPoint>

// The picture strip across the top of a dialog, and the only place a dialog can be dragged by.
// Moving goes through the window system when it offers an interactive move (X11, Wayland) and by
// hand otherwise (offscreen, or a window manager that refuses).
class TitleStrip : public QLabel
{
    Q_OBJECT
public:
    static constexpr int kHeight = 24;

    explicit TitleStrip(QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_dragging = false;
    QPoint m_grabOffset; // from the window's top-left to the pressed point, in global pixels
};

// A picture (or a text) that acts on a click: press and release of the left button on it. It takes
// the press itself, so it never starts a drag of the window underneath. Screen readers announce it
// with `role` (a button or a link); given the keyboard focus, Space and Enter click it too.
class ClickablePicture : public QLabel
{
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget *parent, QAccessible::Role role = QAccessible::Button);
    ClickablePicture(const QString &text, QWidget *parent, QAccessible::Role role);

    QAccessible::Role accessibleRole() const { return m_role; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    const QAccessible::Role m_role;
    bool m_pressed = false;
};
