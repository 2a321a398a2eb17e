#pragma once

#include <QObject>
#include <memory>

// The notification area the desktop keeps itself, apart from a StatusNotifierItem host on the
// session bus: an X11 tray manager, or the Windows shell's area. There the client's icon sees
// every click and the client draws its own menu.
class NativeTrayArea : public QObject
{
    Q_OBJECT
public:
    // None where the desktop cannot have one (a Wayland session, say).
    static std::unique_ptr<NativeTrayArea> create();

    virtual bool isPresent() const = 0;

Q_SIGNALS:
    // An area may have arrived; isPresent() says whether it did.
    void mayHaveArrived();
};
