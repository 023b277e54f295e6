#include "win32/Win32.h"

#include "win32/Internals.h"

#include <QStringList>
#include <map>
#include <set>

namespace win32 {

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value)
{
    forms::Window* w = forms::fromHandle(window);
    if (!w || index != GWL_WNDPROC)
        return 0;
    return reinterpret_cast<LONG_PTR>(w->setProcedure(reinterpret_cast<WNDPROC>(value)));
}

qintptr CallWindowProcA(WNDPROC procedure, HWND window, unsigned msg, quintptr wParam, qintptr lParam)
{
    if (procedure)
        return procedure->call(window, msg, wParam, lParam);
    forms::Window* w = forms::fromHandle(window);
    return w ? w->defaultProcedure(msg, wParam, lParam) : 0;
}

namespace {

BOOL track(TRACKMOUSEEVENT* request)
{
    if (!request || request->cbSize != sizeof(TRACKMOUSEEVENT))
        return 0;
    forms::Window* w = forms::fromHandle(request->hwndTrack);
    if (!w)
        return 0;
    if (request->dwFlags & TME_LEAVE)
        w->requestLeave();
    return 1;
}

struct Module {
    QString name;
    QStringList entries;
    bool loaded;
    int loads = 0;
};

std::map<HMODULE, Module>& modules()
{
    static std::map<HMODULE, Module> m = {
        {0x71000000,
         {QStringLiteral("user32"),
          {QStringLiteral("SetWindowLongA"), QStringLiteral("CallWindowProcA"), QStringLiteral("SendMessageA"),
           QStringLiteral("ReleaseCapture"), QStringLiteral("SetWindowPos"), QStringLiteral("SystemParametersInfoA"),
           QStringLiteral("DrawTextExA"), QStringLiteral("SetRect"), QStringLiteral("OffsetRect"),
           QStringLiteral("TrackMouseEvent")},
          true}},
        {0x72000000, {QStringLiteral("comctl32"), {QStringLiteral("_TrackMouseEvent")}, false}},
        {0x73000000,
         {QStringLiteral("kernel32"),
          {QStringLiteral("GetModuleHandleA"), QStringLiteral("LoadLibraryA"), QStringLiteral("FreeLibrary"),
           QStringLiteral("GetProcAddress"), QStringLiteral("GetLocaleInfoA")},
          true}},
        {0x74000000,
         {QStringLiteral("gdi32"),
          {QStringLiteral("CreatePen"), QStringLiteral("SelectObject"), QStringLiteral("DeleteObject"),
           QStringLiteral("MoveToEx"), QStringLiteral("LineTo"), QStringLiteral("SetPixel")},
          true}},
        {0x75000000,
         {QStringLiteral("uxtheme"),
          {QStringLiteral("IsAppThemed"), QStringLiteral("OpenThemeData"), QStringLiteral("GetCurrentThemeName"),
           QStringLiteral("CloseThemeData")},
          false}},
        {0x76000000, {QStringLiteral("olepro32"), {QStringLiteral("OleTranslateColor")}, false}},
    };
    return m;
}

std::map<HMODULE, Module>::iterator find(const QString& name)
{
    const QString key = internal::moduleKey(name);
    auto& m = modules();
    for (auto it = m.begin(); it != m.end(); ++it)
        if (it->second.name == key)
            return it;
    return m.end();
}

} // namespace

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    return track(request);
}

BOOL _TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    return track(request);
}

HMODULE GetModuleHandleA(const QString& module)
{
    auto it = find(module);
    return it != modules().end() && (it->second.loaded || it->second.loads > 0) ? it->first : 0;
}

HMODULE LoadLibraryA(const QString& module)
{
    auto it = find(module);
    if (it == modules().end())
        return 0;
    ++it->second.loads;
    return it->first;
}

BOOL FreeLibrary(HMODULE module)
{
    auto it = modules().find(module);
    if (it == modules().end() || it->second.loads == 0)
        return it != modules().end() && it->second.loaded ? 1 : 0;
    --it->second.loads;
    return 1;
}

quintptr GetProcAddress(HMODULE module, const QString& entry)
{
    auto it = modules().find(module);
    if (it == modules().end() || !(it->second.loaded || it->second.loads > 0))
        return 0;
    const int at = static_cast<int>(it->second.entries.indexOf(entry));
    if (at < 0 || internal::withdrawnExports().count({it->second.name, entry}))
        return 0;
    return module + 0x1000 + static_cast<quintptr>(at) * 0x10;
}

std::set<std::pair<QString, QString>>& internal::withdrawnExports()
{
    static std::set<std::pair<QString, QString>> w;
    return w;
}

QString internal::moduleKey(QString name)
{
    name = name.toLower();
    if (name.endsWith(QLatin1String(".dll")))
        name.chop(4);
    return name;
}

} // namespace win32
