#pragma once

#include "platform/nativetrayarea.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <memory>

// The X11 notification area of the default screen: whether a tray manager owns the screen's
// tray selection, and a signal when one takes it. Tray managers announce themselves with a
// MANAGER message to the root window, so nothing needs to ask again and again.
class X11TraySelection : public NativeTrayArea, public QAbstractNativeEventFilter
{
public:
    // None when the client does not run on X11.
    static std::unique_ptr<X11TraySelection> create();
    ~X11TraySelection() override;

    bool isPresent() const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Connection;
    explicit X11TraySelection(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> m_x;
};
