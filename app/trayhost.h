#pragma once

#include <QObject>
#include <chrono>
#include <memory>

class NativeTrayArea;

// The kinds of notification area a desktop can offer.
enum class TrayHostKind {
    None,
    // A StatusNotifierItem host over D-Bus (KDE, GNOME's AppIndicator, XFCE, waybar): the host
    // draws the icon and the exported menu, and a click on the icon is the host's activation.
    StatusNotifier,
    // The X11 embedding tray (or the Windows shell's area, which works alike): the client draws
    // its own menu; the icon sees every mouse click.
    X11Embedding,
};

// Which notification area the desktop has, and a signal when one may have arrived: the
// StatusNotifierWatcher's name appearing on the session bus, its "host registered" signal, or
// an X11 tray manager's announcement.
class TrayHost : public QObject
{
    Q_OBJECT
public:
    explicit TrayHost(QObject *parent = nullptr);
    ~TrayHost() override;

    // Asks the desktop now. A registered StatusNotifierItem host wins over an X11 tray: that is
    // the order in which the toolkit itself picks the protocol for its icon.
    TrayHostKind kind() const;

    // Sleeps in the event loop until the desktop offers a notification area or `limit` has
    // passed; the kind then.
    TrayHostKind waitForHost(std::chrono::milliseconds limit);

Q_SIGNALS:
    void mayHaveArrived();

private:
    std::unique_ptr<NativeTrayArea> m_nativeArea;
};
