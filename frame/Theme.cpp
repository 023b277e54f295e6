#include "frame/SkinFrame.h"

#include "vb/Codepage.h"
#include "win32/Win32.h"

namespace frame {

using namespace win32;

namespace {
struct Pair {
    std::int32_t frame, fill;
};
// ThemeBlue, ThemeSilver, ThemeOlive, ThemeKhaki, ThemeGold.
constexpr Pair Pairs[] = {
    {0x9C6113, 0xFEECDD}, {0x6F5F5F, 0xFBF4F4}, {0x385D3F, 0xE1F9F7}, {0x486B62, 0xF2F8F8}, {0x1E5B75, 0xA5EFFF},
};
} // namespace

void SkinFrame::SetThemeColor()
{
    reportOnFailure("SetThemeColor", [&] {
        if (m_lThemeColor == ThemeSystem) {
            const forms::Handle own = hWnd();
            GetGradientColor(own);
        } else {
            SetDefaultThemeColor(m_lThemeColor);
        }
    });
}

void SkinFrame::SetDefaultThemeColor(const std::int32_t& theme)
{
    reportOnFailure("SetDefaultThemeColor", [&] {
        if (theme >= ThemeBlue && theme <= ThemeGold) {
            m_lFrameColor = Pairs[theme].frame;
            m_lFillColor = Pairs[theme].fill;
        } else if (theme == ThemeCustom) {
            m_lFrameColor = m_lColorFrom;
            m_lFillColor = m_lColorTo;
        }
    });
}

void SkinFrame::GetGradientColor(const forms::Handle& hWnd)
{
    reportOnFailure("GetGradientColor", [&] {
        ReadThemeName(hWnd);
        if (AppIsThemed()) {
            const char* const schemes[] = {"NormalColor", "Metallic", "HomeStead"};
            for (int i = 0; i < 3; ++i)
                if (m_sThemeName == QLatin1String(schemes[i])) { // letter case included
                    m_lFrameColor = Pairs[i].frame;
                    m_lFillColor = Pairs[i].fill;
                    break;
                }
        } else {
            m_lFrameColor = Pairs[ThemeBlue].frame;
            m_lFillColor = Pairs[ThemeBlue].fill;
        }
    });
}

bool SkinFrame::AppIsThemed()
{
    bool themed = false;
    vb::skipOnFailure([&] { themed = IsAppThemed() != 0; });
    return themed;
}

void SkinFrame::ReadThemeName(const forms::Handle& hWnd)
{
    // Every step that fails is skipped.
    HTHEME theme = 0;
    vb::skipOnFailure([&] { theme = OpenThemeData(hWnd, QStringLiteral("ExplorerBar")); });
    if (theme == 0) {
        m_sThemeName = QStringLiteral("Classic");
        return;
    }
    char16_t fileName[260] = {};
    char16_t scheme[260] = {};
    vb::skipOnFailure([&] { GetCurrentThemeName(fileName, 260, scheme, 260, nullptr, 0); });
    vb::skipOnFailure([&] { m_sThemeName = QString::fromUtf16(scheme); });
    vb::skipOnFailure([&] { CloseThemeData(theme); });
}

QString SkinFrame::GetInfo(std::int32_t lcType)
{
    QString result;
    reportOnFailure("GetInfo", [&] {
        char buffer[256] = {};
        const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, static_cast<LCTYPE>(lcType), buffer, 256);
        if (n > 0)
            result = vb::fromAnsi(QByteArray(buffer, n - 1));
    });
    return result;
}

} // namespace frame
