#include "FrameFixture.h"

namespace {

using Frame = fixture::Frame;
using SF = frame::SkinFrame;

std::int32_t buttonFace()
{
    return SF::TranslateColor(static_cast<std::int32_t>(0x8000000F));
}

TEST_F(Frame, ANewInstanceStartsAtZero)
{
    SF& f = make();
    EXPECT_EQ(peek(f).m_iHotBtn(), -1);
    EXPECT_EQ(peek(f).m_iLitBtn(), -1);
    EXPECT_FALSE(peek(f).m_bCanTrackLeave() || peek(f).m_bTrackInUser32() || peek(f).m_bMouseInside()
                 || peek(f).m_bMaxButton() || peek(f).m_bMinButton() || peek(f).m_bCloseButton()
                 || peek(f).m_bMoveable() || peek(f).m_bGripsMade() || peek(f).m_bTallApplied()
                 || peek(f).m_bOverTitle());
    EXPECT_EQ(peek(f).m_lThemeColor() | peek(f).m_lStyle() | peek(f).m_lBorderStyle() | peek(f).m_lFrameColor()
                  | peek(f).m_lFillColor() | peek(f).m_lTitleHeight() | peek(f).m_lCaptionHeight()
                  | peek(f).m_lCustomBackColor() | peek(f).m_iIconSize() | peek(f).m_iWinState()
                  | peek(f).m_iSizeMode(),
              0);
    EXPECT_TRUE(peek(f).m_sCaption().isEmpty());
    EXPECT_TRUE(peek(f).m_sThemeName().isEmpty());
    EXPECT_TRUE(peek(f).m_picIcon().isNull());
    EXPECT_EQ(peek(f).m_frmParent(), nullptr);
    EXPECT_EQ(peek(f).m_picRight(), nullptr);
    EXPECT_TRUE(peek(f).m_aHooks().empty());
    for (const auto& b : peek(f).m_aCapBtn())
        EXPECT_FALSE(b.Visible || b.Hot || b.Left || b.Width);
}

TEST_F(Frame, TheSystemMenuAsDesigned)
{
    SF& f = make();
    EXPECT_EQ(f.SysMnuCaption, QStringLiteral("Menu"));
    const char* const captions[] = {"Restore       ",          "Minimize", "Maximize",     "-",
                                    "Close            Alt+F4", "-",        "Always on Top"};
    ASSERT_EQ(f.MnuSyst.count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(f.MnuSyst(i).caption(), QString::fromLatin1(captions[i])) << i;
    EXPECT_FALSE(f.MnuSyst(0).isEnabled());
    EXPECT_TRUE(f.MnuSyst(4).isEnabled());
    EXPECT_FALSE(f.MnuSyst(6).checked());
}

TEST_F(Frame, AStoreWithoutKeysGivesEveryReadDefault)
{
    SF& f = make();
    f.readSettings(forms::PropertyBag());
    EXPECT_EQ(f.ThemeColor(), SF::ThemeSystem);
    EXPECT_EQ(f.Style(), SF::StyleCylinder);
    EXPECT_EQ(f.BackColorStyle(), SF::BackButtonFace);
    EXPECT_TRUE(f.MaxButton() && f.MinButton() && f.CloseButton());
    EXPECT_FALSE(f.ChangeAllBackgrounds());
    EXPECT_EQ(f.BorderStyle(), 1);
    EXPECT_EQ(f.CustomBackColor(), buttonFace());
    EXPECT_EQ(f.ColorFrom(), 0x404080);
    EXPECT_EQ(f.ColorTo(), 0xC0E0FF);
    EXPECT_EQ(f.IconSize(), 16);
}

TEST_F(Frame, StoredKeysMatchWithoutCase)
{
    SF& f = make();
    // The main window's stored settings, in the store's lower case.
    f.readSettings({{QStringLiteral("themecolor"), 3},
                    {QStringLiteral("style"), 3},
                    {QStringLiteral("closebutton"), true},
                    {QStringLiteral("custombackcolor"), 0xD8E9EC}});
    EXPECT_EQ(f.ThemeColor(), SF::ThemeKhaki);
    EXPECT_EQ(f.Style(), SF::StyleLinear);
    EXPECT_EQ(f.CustomBackColor(), 0xD8E9EC);
    f.readSettings({{QStringLiteral("ThemeColor"), 3}});
    EXPECT_EQ(f.ThemeColor(), SF::ThemeKhaki);
}

TEST_F(Frame, WritingLeavesOutTheWriteDefaults)
{
    SF& f = make();
    f.newInstanceSettings();
    EXPECT_EQ(f.ThemeColor(), SF::ThemeBlue);
    EXPECT_EQ(f.CustomBackColor(), buttonFace());
    forms::PropertyBag bag;
    f.writeSettings(bag);
    // ThemeColor 0 differs from its write default 6; the translated button
    // face never equals the untranslated one.
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.readProperty(QStringLiteral("ThemeColor")), vb::Variant(0));
    EXPECT_EQ(bag.readProperty(QStringLiteral("CustomBackColor")),
              vb::Variant(static_cast<std::int64_t>(buttonFace())));

    f.setThemeColor(SF::ThemeSystem);
    f.setCloseButton(false);
    forms::PropertyBag again;
    f.writeSettings(again);
    EXPECT_FALSE(again.contains(QStringLiteral("ThemeColor")));
    EXPECT_EQ(again.readProperty(QStringLiteral("CloseButton")), vb::Variant(false));
    SF& other = make();
    other.readSettings(again);
    EXPECT_FALSE(other.CloseButton());
}

TEST_F(Frame, AValueThatCannotBeConvertedStopsTheReading)
{
    SF& f = make();
    EXPECT_THROW(f.readSettings({{QStringLiteral("BackColorStyle"), "abc"}}), vb::Failure);
    // Read up to the failing setting, in the store order.
    EXPECT_EQ(f.ThemeColor(), SF::ThemeSystem);
    EXPECT_EQ(f.ColorTo(), 0xC0E0FF);
    EXPECT_EQ(f.BorderStyle(), 0);
    EXPECT_THROW(f.readSettings({{QStringLiteral("IconSize"), 40000}}), vb::Failure); // beyond 16 bits
}

} // namespace
