#include "forms/X11.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>

namespace forms::x11 {

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

const xcb_screen_t* rootScreen(xcb_connection_t* c)
{
    return c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_atom_t a = XCB_ATOM_NONE;
    if (xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, cookie, nullptr)) {
        a = r->atom;
        std::free(r);
    }
    return a;
}

} // namespace forms::x11
