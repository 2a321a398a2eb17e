#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

// What a user does with the tray icon on one desktop, and what the test sees of it. The host is
// named by MARBELLO_TRAY_HOST: "trayer" (X11 embedding tray), "xfce" (xfce4-panel's status tray
// on X11) or "sway" (waybar on headless sway, where no pointer exists and the test calls the
// item as waybar does).
class TrayHostDriver
{
public:
    static std::unique_ptr<TrayHostDriver> fromEnvironment();
    virtual ~TrayHostDriver() = default;

    virtual QString name() const = 0;
    // The host draws the exported menu; its captions can be read over D-Bus.
    virtual bool hostShowsMenu() const { return true; }

    // The icon is in the tray, and its tip (read where the host makes it readable).
    virtual bool iconShown() = 0;
    virtual QString tip() = 0;
    // Rests the pointer on the icon until its tip shows, where there is a pointer.
    virtual void pointAtIcon() {}
    // The primary click: the host's click, or a double click on an X11 tray.
    virtual void primaryClick() = 0;
    // A right click, then the menu item with `accelerator` chosen. False when no menu showed
    // at the icon.
    virtual bool chooseFromMenu(QChar accelerator, const QString &caption) = 0;
    // The exported menu's first caption, as the host reads it when it opens the menu.
    virtual QString firstMenuCaption() { return {}; }

    virtual bool windowShown(const QString &title) = 0;
    virtual void closeWindow(const QString &title) = 0;
    // A screenshot under build/, named after the host and `what`; its path.
    virtual QString screenshot(const QString &what) = 0;
};

// Runs a program to its end; its standard output.
QByteArray RunTool(const QString &program, const QStringList &arguments, int *exitCode = nullptr);
