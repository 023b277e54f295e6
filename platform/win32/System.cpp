#include "win32/Win32.h"

#include "forms/Runtime.h"
#include "vb/Codepage.h"
#include "vb/Failure.h"

#include <QLocale>
#include <cstring>

namespace win32 {

HRESULT OleTranslateColor(OLE_COLOR colour, quintptr, COLORREF* result)
{
    // The runtime's translation knows the system colours and fails on
    // anything else that is no plain RGB value.
    try {
        const QColor c = forms::toQColor(static_cast<long>(colour));
        if (result)
            *result = static_cast<COLORREF>(forms::fromQColor(c));
        return S_OK;
    } catch (const vb::Failure&) {
        return E_INVALIDARG;
    }
}

namespace {
VisualStyle& style()
{
    static VisualStyle s;
    return s;
}
// The one theme handle the stand-in gives out, and whether it is open.
constexpr HTHEME ThemeHandle = 0x7E00;

void requireUxtheme()
{
    if (!style().uxthemePresent)
        vb::raise(vb::err::FileNotFound, QStringLiteral("File not found: uxtheme"));
}

void copyName(const QString& name, char16_t* buffer, int chars)
{
    if (!buffer || chars <= 0)
        return;
    const int n = std::min<int>(static_cast<int>(name.size()), chars - 1);
    std::memcpy(buffer, name.utf16(), static_cast<std::size_t>(n) * sizeof(char16_t));
    buffer[n] = 0;
}
} // namespace

void setVisualStyle(const VisualStyle& s)
{
    style() = s;
}

const VisualStyle& visualStyle()
{
    return style();
}

BOOL IsAppThemed()
{
    requireUxtheme();
    return style().themed ? 1 : 0;
}

HTHEME OpenThemeData(HWND, const QString&)
{
    requireUxtheme();
    return style().themed ? ThemeHandle : 0;
}

HRESULT GetCurrentThemeName(char16_t* fileName, int fileChars, char16_t* colourName, int colourChars,
                            char16_t* sizeName, int sizeChars)
{
    requireUxtheme();
    if (!style().themed)
        return E_FAIL;
    copyName(style().themeFile, fileName, fileChars);
    copyName(style().colourScheme, colourName, colourChars);
    copyName(QStringLiteral("NormalSize"), sizeName, sizeChars);
    return S_OK;
}

HRESULT CloseThemeData(HTHEME theme)
{
    requireUxtheme();
    return theme == ThemeHandle ? S_OK : E_INVALIDARG;
}

int GetLocaleInfoA(LCID, LCTYPE type, char* buffer, int length)
{
    const QLocale locale = QLocale::system();
    QString value;
    switch (type) {
    case LOCALE_SLANGUAGE: value = locale.nativeLanguageName(); break;
    case LOCALE_SENGLANGUAGE: value = QLocale::languageToString(locale.language()); break;
    case LOCALE_SCOUNTRY: value = locale.nativeTerritoryName(); break;
    case LOCALE_SDECIMAL: value = locale.decimalPoint(); break;
    case LOCALE_IDEFAULTANSICODEPAGE: value = QStringLiteral("936"); break;
    default: return 0;
    }
    const QByteArray bytes = vb::toAnsi(value);
    if (!buffer || length < bytes.size() + 1)
        return 0;
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    buffer[bytes.size()] = 0;
    return static_cast<int>(bytes.size()) + 1;
}

} // namespace win32
