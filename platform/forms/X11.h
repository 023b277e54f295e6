#pragma once

#include <xcb/xcb.h>

// What the runtime asks of the X server itself, where the program talks to
// one (the panels of a desktop, the button the server holds down, a window
// manager's move): the runtime's own, not for the program.
namespace forms::x11 {

// The application's connection to the X server; nullptr on any other
// platform (Wayland, offscreen).
xcb_connection_t* connection();
// The connection's first screen, the one whose root window the program's
// windows live in; nullptr without one.
const xcb_screen_t* rootScreen(xcb_connection_t* c);
// An atom the server already knows by this name, else XCB_ATOM_NONE.
xcb_atom_t atom(xcb_connection_t* c, const char* name);

} // namespace forms::x11
