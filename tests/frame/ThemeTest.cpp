#include "FrameFixture.h"

namespace {

using Frame = fixture::Frame;
using SF = frame::SkinFrame;

struct Pair {
    std::int32_t frame, fill;
};
constexpr Pair Blue{0x9C6113, 0xFEECDD}, Silver{0x6F5F5F, 0xFBF4F4}, Olive{0x385D3F, 0xE1F9F7},
    Khaki{0x486B62, 0xF2F8F8}, Gold{0x1E5B75, 0xA5EFFF}, Untouched{0, 0};

TEST_F(Frame, FixedThemesIgnoreTheVisualStyle)
{
    SF& f = make();
    win32::setVisualStyle({true, true, QStringLiteral("x.msstyles"), QStringLiteral("Metallic")});
    const Pair pairs[] = {Blue, Silver, Olive, Khaki, Gold};
    for (int t = 0; t <= 4; ++t) {
        fixture::readStored(f, {{"ThemeColor", t}});
        f.SetThemeColor();
        EXPECT_EQ(peek(f).m_lFrameColor(), pairs[t].frame) << t;
        EXPECT_EQ(peek(f).m_lFillColor(), pairs[t].fill) << t;
    }
    fixture::readStored(f,
                        {{"ThemeColor", SF::ThemeCustom},
                         {"ColorFrom", static_cast<std::int32_t>(0x8000000F)}, // as stored, not translated again
                         {"ColorTo", 0x010203}});
    f.SetThemeColor();
    EXPECT_EQ(peek(f).m_lFrameColor(), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(peek(f).m_lFillColor(), 0x010203);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, TheSystemThemeFollowsTheColourScheme)
{
    struct Case {
        win32::VisualStyle style;
        Pair expected;
        const char* name;
    } const cases[] = {
        {{true, true, QStringLiteral("Luna.msstyles"), QStringLiteral("NormalColor")}, Blue, "NormalColor"},
        {{true, true, QStringLiteral("Luna.msstyles"), QStringLiteral("Metallic")}, Silver, "Metallic"},
        {{true, true, QStringLiteral("Luna.msstyles"), QStringLiteral("HomeStead")}, Olive, "HomeStead"},
        {{true, true, QStringLiteral("Luna.msstyles"), QStringLiteral("metallic")}, Untouched, "metallic"},
        {{true, true, QStringLiteral("Royale.msstyles"), QStringLiteral("Royale")}, Untouched, "Royale"},
        {{true, false, QString(), QString()}, Blue, "Classic"}, // no visual style in use
        {{false, true, QString(), QString()}, Blue, "Classic"}, // no uxtheme at all
    };
    for (const Case& c : cases) {
        win32::setVisualStyle(c.style);
        SF& f = make();
        fixture::readStored(f, {{"ThemeColor", SF::ThemeSystem}});
        f.SetThemeColor();
        EXPECT_EQ(peek(f).m_lFrameColor(), c.expected.frame) << c.name;
        EXPECT_EQ(peek(f).m_lFillColor(), c.expected.fill) << c.name;
        EXPECT_EQ(peek(f).m_sThemeName(), QString::fromLatin1(c.name));
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, ThemesOutsideTheTableChangeNothing)
{
    SF& f = make();
    for (std::int32_t t : {7, -1, 1000}) {
        // The pair as the custom theme leaves it.
        fixture::readStored(f, {{"ThemeColor", SF::ThemeCustom}, {"ColorFrom", 0x111111}, {"ColorTo", 0x222222}});
        f.SetThemeColor();
        fixture::readStored(f, {{"ThemeColor", t}});
        f.SetThemeColor();
        EXPECT_EQ(peek(f).m_lFrameColor(), 0x111111) << t;
        EXPECT_EQ(peek(f).m_lFillColor(), 0x222222) << t;
    }
}

TEST_F(Frame, LocaleInformation)
{
    SF& f = make();
    EXPECT_EQ(f.GetInfo(0x7FFF), QString()); // a code the platform rejects
    EXPECT_EQ(f.GetInfo(win32::LOCALE_IDEFAULTANSICODEPAGE), QStringLiteral("936"));
    EXPECT_TRUE(reports.empty());
}

} // namespace
