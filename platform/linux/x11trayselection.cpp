#include "platform/linux/x11trayselection.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

struct X11TraySelection::Connection
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t selection = 0;
    xcb_atom_t manager = 0;
};

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const QByteArray &name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The root window of the display's default screen, whose tray the client's icon goes to.
xcb_window_t defaultRoot(xcb_connection_t *connection, int *screenNumber)
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen))
        std::free(host);
    else
        screen = 0;
    *screenNumber = screen;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem && i < screen; ++i)
        xcb_screen_next(&it);
    return it.rem ? it.data->root : 0;
}

} // namespace

std::unique_ptr<X11TraySelection> X11TraySelection::create()
{
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    auto x = std::make_unique<Connection>();
    x->connection = x11->connection();
    int screen = 0;
    x->root = defaultRoot(x->connection, &screen);
    if (!x->root)
        return nullptr;
    x->selection = internAtom(x->connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen));
    x->manager = internAtom(x->connection, "MANAGER");

    // A manager's announcement reaches clients that watch the root window's structure; add that
    // to whatever the toolkit already watches there.
    const xcb_get_window_attributes_cookie_t cookie =
        xcb_get_window_attributes(x->connection, x->root);
    if (xcb_get_window_attributes_reply_t *attributes =
            xcb_get_window_attributes_reply(x->connection, cookie, nullptr)) {
        const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        std::free(attributes);
        xcb_change_window_attributes(x->connection, x->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(x->connection);
    }
    return std::unique_ptr<X11TraySelection>(new X11TraySelection(std::move(x)));
}

X11TraySelection::X11TraySelection(std::unique_ptr<Connection> connection)
    : m_x(std::move(connection))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11TraySelection::~X11TraySelection()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

bool X11TraySelection::isPresent() const
{
    const xcb_get_selection_owner_cookie_t cookie =
        xcb_get_selection_owner(m_x->connection, m_x->selection);
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(m_x->connection, cookie, nullptr);
    const bool owned = reply && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return owned;
}

bool X11TraySelection::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *clientMessage = reinterpret_cast<const xcb_client_message_event_t *>(event);
    if (clientMessage->type == m_x->manager && clientMessage->format == 32 &&
        clientMessage->data.data32[1] == m_x->selection)
        Q_EMIT mayHaveArrived();
    return false;
}

std::unique_ptr<NativeTrayArea> NativeTrayArea::create()
{
    return X11TraySelection::create();
}
