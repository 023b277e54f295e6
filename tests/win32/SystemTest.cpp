// The stand-in modules with their load counts and entries, and the locale.
#include "Win32Support.h"
#include "win32/Win32.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace win32;

TEST(Modules, ALoadedLibraryStaysUntilItsLastFree)
{
    const QString e = QStringLiteral("IsAppThemed");
    ASSERT_EQ(GetModuleHandleA(QStringLiteral("uxtheme")), 0u); // loaded only when asked for
    const HMODULE first = LoadLibraryA(QStringLiteral("UxTheme.dll"));
    ASSERT_NE(first, 0u);
    EXPECT_EQ(LoadLibraryA(QStringLiteral("uxtheme")), first);
    EXPECT_EQ(GetModuleHandleA(QStringLiteral("UXTHEME.DLL")), first);
    EXPECT_NE(GetProcAddress(first, e), 0u);
    EXPECT_EQ(GetProcAddress(first, QStringLiteral("NoSuchEntry")), 0u);

    EXPECT_EQ(FreeLibrary(first), 1);
    EXPECT_EQ(GetModuleHandleA(QStringLiteral("uxtheme")), first); // one load left
    EXPECT_NE(GetProcAddress(first, e), 0u);
    EXPECT_EQ(FreeLibrary(first), 1);
    EXPECT_EQ(GetModuleHandleA(QStringLiteral("uxtheme")), 0u);
    EXPECT_EQ(GetProcAddress(first, e), 0u);
    EXPECT_EQ(FreeLibrary(first), 0);
}

TEST(Modules, TheSystemLibrariesAreLoadedFromTheStartAndStaySo)
{
    for (const char* name : {"user32", "kernel32", "gdi32"}) {
        const HMODULE m = GetModuleHandleA(QString::fromLatin1(name));
        ASSERT_NE(m, 0u) << name;
        EXPECT_EQ(FreeLibrary(m), 1) << name;
        EXPECT_EQ(GetModuleHandleA(QString::fromLatin1(name)), m) << name;
    }
    EXPECT_EQ(LoadLibraryA(QStringLiteral("nosuch.dll")), 0u);
    EXPECT_EQ(GetModuleHandleA(QStringLiteral("nosuch")), 0u);
    EXPECT_EQ(FreeLibrary(0x12345), 0);
    // Each module exports only its own entries.
    const HMODULE user32 = GetModuleHandleA(QStringLiteral("user32"));
    EXPECT_NE(GetProcAddress(user32, QStringLiteral("TrackMouseEvent")), 0u);
    EXPECT_EQ(GetProcAddress(user32, QStringLiteral("_TrackMouseEvent")), 0u);
    EXPECT_NE(GetProcAddress(user32, QStringLiteral("TrackMouseEvent")),
              GetProcAddress(user32, QStringLiteral("SendMessageA")));
}

TEST(Modules, AWithdrawnEntryIsNotExportedUntilPutBack)
{
    const HMODULE user32 = GetModuleHandleA(QStringLiteral("user32"));
    const quintptr entry = GetProcAddress(user32, QStringLiteral("TrackMouseEvent"));
    testsupport::withdrawExport(QStringLiteral("User32.dll"), QStringLiteral("TrackMouseEvent"));
    EXPECT_EQ(GetProcAddress(user32, QStringLiteral("TrackMouseEvent")), 0u);
    EXPECT_NE(GetProcAddress(user32, QStringLiteral("SendMessageA")), 0u);
    testsupport::withdrawExport(QStringLiteral("user32"), QStringLiteral("TrackMouseEvent"), false);
    EXPECT_EQ(GetProcAddress(user32, QStringLiteral("TrackMouseEvent")), entry);
}

TEST(Locale, GetLocaleInfoAWritesTheTextWithItsNulOrNothing)
{
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "936");
    for (LCTYPE type : {LOCALE_SLANGUAGE, LOCALE_SENGLANGUAGE, LOCALE_SCOUNTRY, LOCALE_SDECIMAL}) {
        std::memset(buffer, 'x', sizeof buffer);
        const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
        ASSERT_GE(n, 1) << type;
        EXPECT_EQ(std::strlen(buffer) + 1, static_cast<std::size_t>(n)) << type;
    }
    // Too small a buffer, no buffer or an unknown code: 0, and nothing
    // written.
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, 3), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0), 0);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x7777, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[0], 'x');
}

} // namespace
