#pragma once

#include "forms/Window.h"

#include <QRect>
#include <QString>
#include <cstdint>

// The Windows API calls of the frame, over the forms runtime: window and
// device-context handles are the runtime's, drawing goes to a control's
// persistent surface pixel by pixel, and the visual style is a setting of
// this layer that tests change.
namespace win32 {

using HWND = forms::Handle;
using HDC = forms::Handle;
using HGDIOBJ = quintptr;
using HPEN = HGDIOBJ;
using HTHEME = quintptr;
using COLORREF = std::uint32_t;
using OLE_COLOR = std::uint32_t;
using HRESULT = std::int32_t;
using BOOL = std::int32_t;
using LCID = std::uint32_t;
using LCTYPE = std::uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);

struct POINT {
    std::int32_t x, y;
};
struct RECT {
    std::int32_t left, top, right, bottom;
};

// GDI ------------------------------------------------------------------

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// A pen: solid lines one pixel wide, whatever width is asked for (the
// frame draws only those). 0 when the style is unknown.
HPEN CreatePen(int style, int width, COLORREF colour);
// Selects a pen into a device context and returns the one it replaces
// (a black stock pen at first); 0 for a handle that is not one.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Deletes a pen; fails (0) for a stock object or a handle that is none.
BOOL DeleteObject(HGDIOBJ object);
// Sets the drawing position, returning the previous one through `old`.
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
// Draws with the selected pen from the drawing position up to, but not
// including, (x, y), which becomes the drawing position.
BOOL LineTo(HDC dc, int x, int y);
// Sets one pixel; returns the colour set, or -1 (as 0xFFFFFFFF) outside
// the surface.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
// Text as code page 936 bytes (a length of -1: up to the NUL) in the
// rectangle, in the font and text colour of the device context's control,
// with a transparent background; returns the text's height.
constexpr unsigned DT_VCENTER = 0x04;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOPREFIX = 0x800;
int DrawTextExA(HDC dc, const char* text, int length, RECT* rect, unsigned format, void* params);
BOOL OffsetRect(RECT* rect, int dx, int dy);

// Windows ----------------------------------------------------------------

// The messages by their API names; the numbers are the runtime's (forms::wm).
constexpr unsigned WM_SETCURSOR = forms::wm::SetCursor;
constexpr unsigned WM_MOUSEMOVE = forms::wm::MouseMove;
constexpr unsigned WM_MOUSELEAVE = forms::wm::MouseLeave;
constexpr unsigned WM_NCLBUTTONDOWN = forms::wm::NcLButtonDown;
constexpr quintptr HTCAPTION = forms::HtCaption;
constexpr unsigned SPI_GETWORKAREA = 48;

// Sends a message through the window's procedure; 0 for a handle that is
// no window.
qintptr SendMessageA(HWND window, unsigned msg, quintptr wParam, qintptr lParam);
// Ends the capture of the pointer that a press gave a control.
BOOL ReleaseCapture();
// SPI_GETWORKAREA: the work area, in pixels, of the screen the active
// window is on (else the screen under the pointer, else the primary one).
BOOL SystemParametersInfoA(unsigned action, unsigned param, void* out, unsigned flags);
constexpr HWND HWND_TOPMOST = static_cast<HWND>(-1);
constexpr HWND HWND_NOTOPMOST = static_cast<HWND>(-2);
constexpr unsigned SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_SHOWWINDOW = 0x40;
// Places a window above all others (HWND_TOPMOST) or back among them
// (HWND_NOTOPMOST); with SWP_NOMOVE and SWP_NOSIZE nothing else changes.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags);

// Window procedures ------------------------------------------------------

using LONG_PTR = std::intptr_t;
using WNDPROC = forms::WindowProc*;
constexpr int GWL_WNDPROC = -4;
// With GWL_WNDPROC: installs the procedure (a WNDPROC as LONG_PTR) and
// returns the one it replaces (0 stands for the window's own handling).
// 0 for a handle that is no window or another index.
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
// Calls a procedure that SetWindowLongA returned: 0 is the window's own.
qintptr CallWindowProcA(WNDPROC procedure, HWND window, unsigned msg, quintptr wParam, qintptr lParam);

// The leave notification: one WM_MOUSELEAVE after each request.
constexpr unsigned TME_LEAVE = 0x2;
struct TRACKMOUSEEVENT {
    std::uint32_t cbSize;
    std::uint32_t dwFlags;
    HWND hwndTrack;
    std::uint32_t dwHoverTime;
};
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);  // user32
BOOL _TrackMouseEvent(TRACKMOUSEEVENT* request); // comctl32

// Modules -----------------------------------------------------------------

// The stand-in modules (user32, comctl32, kernel32, gdi32, uxtheme,
// olepro32; ".dll" and letter case do not matter) and their entries.
// user32, kernel32 and gdi32 are loaded from the start, the others once
// LoadLibraryA asks for them.
using HMODULE = quintptr;
HMODULE GetModuleHandleA(const QString& module);
HMODULE LoadLibraryA(const QString& module);
BOOL FreeLibrary(HMODULE module);
// The entry's address (non-zero), or 0 when the module does not export it.
quintptr GetProcAddress(HMODULE module, const QString& entry);

// Colours ---------------------------------------------------------------

// A colour value (&H00BBGGRR) or a system colour (&H80000000 + index) as
// the RGB value to draw with; an invalid colour fails with E_INVALIDARG.
HRESULT OleTranslateColor(OLE_COLOR colour, quintptr palette, COLORREF* result);

// Visual style -----------------------------------------------------------

// What the stand-in reports of the desktop's visual style.
struct VisualStyle {
    bool uxthemePresent = true; // false: every theme call fails as a missing library does
    bool themed = true;
    QString themeFile = QStringLiteral("Luna.msstyles");
    QString colourScheme = QStringLiteral("NormalColor");
};
void setVisualStyle(const VisualStyle& style);
const VisualStyle& visualStyle();

BOOL IsAppThemed();
// A theme handle for the window and class list, 0 when no style is active.
HTHEME OpenThemeData(HWND window, const QString& classList);
// Fills the two buffers of UTF-16 characters (each with its capacity);
// a null buffer is left alone.
HRESULT GetCurrentThemeName(char16_t* fileName, int fileChars, char16_t* colourName, int colourChars,
                            char16_t* sizeName, int sizeChars);
HRESULT CloseThemeData(HTHEME theme);

// Locale -----------------------------------------------------------------

constexpr LCID LOCALE_USER_DEFAULT = 0x400;
constexpr LCTYPE LOCALE_SLANGUAGE = 0x0002;
constexpr LCTYPE LOCALE_SCOUNTRY = 0x0006;
constexpr LCTYPE LOCALE_SDECIMAL = 0x000E;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;

// The locale's information as code page 936 text with its terminating
// NUL; returns the bytes written, NUL included, or 0 for an unknown code
// or a buffer too small.
int GetLocaleInfoA(LCID locale, LCTYPE type, char* buffer, int length);

} // namespace win32
