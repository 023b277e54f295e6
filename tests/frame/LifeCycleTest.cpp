// The frame's life cycle on a window of the test's own: the reading of its
// stored settings at each load, run time and designer, the designer's new
// instance, its writing and its setting changes, and the end at unload.
#include "FrameFixture.h"

#include "forms/Form.h"

#include <functional>

namespace {

using SF = frame::SkinFrame;
namespace wm = forms::wm;
constexpr float Tw = 15.0f;
constexpr std::int32_t Highlight = static_cast<std::int32_t>(0x8000000D); // a system colour
constexpr std::int32_t BlueF = 0x9C6113, BlueL = 0xFEECDD, KhakiF = 0x486B62, KhakiL = 0xF2F8F8;

QString key(const char* k)
{
    return QString::fromLatin1(k);
}

class LifeCycle : public fixture::Frame {
protected:
    void newForm(bool run)
    {
        form = std::make_unique<forms::Form>();
        form->setUserMode(run);
        form->setCaption(QStringLiteral("Torvasen"));
        form->setClientSize(400 * Tw, 300 * Tw);
        form->onPropertyChanged = [this](forms::Control&, const QString& name) { notices.push_back(name); };
        skin = new SF(*form, nullptr, QStringLiteral("SkinFrame1"));
        reports.clear();
        notices.clear();
    }
    // A window carrying a frame with these stored settings, loaded and
    // shown: at run time, or opened in the designer.
    SF& loaded(forms::PropertyBag stored, bool run = true)
    {
        newForm(run);
        skin->storedProperties() = std::move(stored);
        form->show();
        return *skin;
    }
    // A frame newly placed on a window in the designer.
    SF& placed()
    {
        newForm(false);
        skin->UserControl_InitProperties();
        EXPECT_TRUE(reports.empty());
        notices.clear();
        return *skin;
    }

    // The close glyph's middle pixel in a button's place, in the frame colour.
    bool closeGlyphAt(const SF::CapBtnEntry& b, std::int32_t colour) { return at(b.Left + 9, b.Top + 9) == colour; }
    bool closeGlyphAt(const SF::CapBtnEntry& b) { return closeGlyphAt(b, peek(*skin).m_lFrameColor()); }
    // The left border, below the title.
    std::int32_t border() { return at(0, peek(*skin).m_lTitleHeight() + 20); }
    std::int32_t middle() { return at(img().width() / 2, img().height() / 2); }
    // A mark on the surface that every redraw wipes.
    static constexpr std::int32_t Mark = 0x123456;
    void mark() { win32::SetPixel(skin->hDC(), 200, 150, Mark); }
    bool marked() { return at(200, 150) == Mark; }
    // Only the static title the designer paints: the picture that
    // DrawTitleBarInitial keeps, nothing over it.
    bool onlyTheStaticTitle()
    {
        return img().convertToFormat(QImage::Format_RGB32)
            == skin->surface().background().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::vector<QString> notices;
};

TEST_F(LifeCycle, WhatTheWindowShowsAtRunStart)
{
    const std::int32_t face = SF::TranslateColor(static_cast<std::int32_t>(0x8000000F));
    struct Case {
        const char* what;
        forms::PropertyBag stored;
        std::int32_t frame, fill, back;
    } const cases[] = {
        {"no stored keys: the visual style's blue, the button face", {}, BlueF, BlueL, face},
        {"the main window's settings",
         {{key("themecolor"), 3}, {key("style"), 3}, {key("closebutton"), true}, {key("custombackcolor"), 0xD8E9EC}},
         KhakiF,
         KhakiL,
         face},
        {"the theme's fill", {{key("themecolor"), 3}, {key("backcolorstyle"), 1}}, KhakiF, KhakiL, KhakiL},
        {"a custom system colour, translated when applied",
         {{key("backcolorstyle"), 2}, {key("custombackcolor"), static_cast<std::int64_t>(Highlight)}},
         BlueF,
         BlueL,
         SF::TranslateColor(Highlight)},
        {"ThemeColor outside 0 to 6: black", {{key("themecolor"), 7}}, 0, 0, face},
        {"BackColorStyle outside 0 to 2: the designed white", {{key("backcolorstyle"), 3}}, BlueF, BlueL, White},
    };
    for (const Case& c : cases) {
        SF& f = loaded(c.stored);
        EXPECT_EQ(peek(f).m_lFrameColor(), c.frame) << c.what;
        EXPECT_EQ(peek(f).m_lFillColor(), c.fill) << c.what;
        EXPECT_EQ(border(), c.frame) << c.what;
        if (c.frame == 0) {
            EXPECT_EQ(at(100, 2), 0) << c.what; // the title is black too
        }
        EXPECT_EQ(middle(), c.back) << c.what;
        EXPECT_EQ(peek(f).m_aHooks().size(), 2u) << c.what;
        EXPECT_TRUE(reports.empty()) << c.what;
    }
    // All three buttons of the defaults, with their glyphs.
    SF& f = loaded({});
    for (const SF::CapBtnEntry& b : peek(f).m_aCapBtn())
        EXPECT_TRUE(b.Visible);
    EXPECT_TRUE(closeGlyphAt(peek(f).m_aCapBtn()[0]));
    EXPECT_EQ(peek(f).m_lStyle(), SF::StyleCylinder);
}

TEST_F(LifeCycle, WhatTheDesignerWrites)
{
    struct Case {
        const char* what;
        std::function<void(SF&)> change;
        std::vector<QString> keys; // in the store order
    } const cases[] = {
        {"a new instance", [](SF&) {}, {key("ThemeColor"), key("CustomBackColor")}},
        {"ThemeColor 6", [](SF& f) { f.setThemeColor(SF::ThemeSystem); }, {key("CustomBackColor")}},
        {"CloseButton False",
         [](SF& f) { f.setCloseButton(false); },
         {key("ThemeColor"), key("CloseButton"), key("CustomBackColor")}},
        {"CloseButton False, then True",
         [](SF& f) {
             f.setCloseButton(false);
             f.setCloseButton(true);
         },
         {key("ThemeColor"), key("CustomBackColor")}},
        {"CustomBackColor the untranslated button face",
         [](SF& f) { f.setCustomBackColor(static_cast<std::int32_t>(0x8000000F)); },
         {key("ThemeColor")}},
    };
    for (const Case& c : cases) {
        SF& f = placed();
        c.change(f);
        forms::PropertyBag bag;
        f.UserControl_WriteProperties(bag);
        std::vector<QString> keys;
        for (const auto& e : bag.entries())
            keys.push_back(e.first);
        EXPECT_EQ(keys, c.keys) << c.what;
        if (bag.contains(key("ThemeColor"))) {
            EXPECT_EQ(bag.readProperty(key("ThemeColor")), vb::Variant(0)) << c.what;
        }
        if (bag.contains(key("CloseButton"))) {
            EXPECT_EQ(bag.readProperty(key("CloseButton")), vb::Variant(false)) << c.what;
        }
    }
}

TEST_F(LifeCycle, WithoutTheCloseButtonTheCloseGlyphIsNeverDrawn)
{
    for (bool close : {false, true}) {
        SF& designed = placed();
        designed.setCloseButton(close);
        forms::PropertyBag bag;
        designed.UserControl_WriteProperties(bag);

        SF& f = loaded(bag);
        EXPECT_EQ(f.CloseButton(), close);
        EXPECT_EQ(f.MnuSyst(4).isEnabled(), close);
        EXPECT_EQ(peek(f).m_aCapBtn()[0].Visible, close);
        const SF::CapBtnEntry& rightmost = peek(f).m_aCapBtn()[close ? 0 : 1];
        EXPECT_EQ(closeGlyphAt(rightmost), close);
        if (close)
            continue;
        // Not at the first paint, not while a button is lit, not when the
        // highlight comes off.
        auto noCloseGlyph = [&](const char* when) {
            for (const SF::CapBtnEntry& b : peek(f).m_aCapBtn()) {
                if (b.Visible) {
                    EXPECT_FALSE(closeGlyphAt(b)) << when;
                }
            }
        };
        noCloseGlyph("shown");
        for (int i : {1, 2}) {
            const SF::CapBtnEntry& b = peek(f).m_aCapBtn()[static_cast<std::size_t>(i)];
            win32::SendMessageA(f.hWnd(), wm::MouseMove, 0, forms::makeLParam(b.Left + 9, b.Top + 9));
            EXPECT_EQ(peek(f).m_iLitBtn(), i);
            noCloseGlyph("lit");
        }
        win32::SendMessageA(f.hWnd(), wm::MouseLeave, 0, 0);
        noCloseGlyph("left");
    }
}

TEST_F(LifeCycle, TheDesignersChangesRedrawAndNotifyAsTheyShould)
{
    using V = std::vector<QString>;
    struct Case {
        const char* what;
        std::function<void(SF&)> change;
        V notices;
        bool redraws;
    } const cases[] = {
        {"ThemeColor unchanged", [](SF& f) { f.setThemeColor(SF::ThemeBlue); }, {}, false},
        {"Style unchanged", [](SF& f) { f.setStyle(SF::StyleCylinder); }, {}, false},
        {"IconSize unchanged", [](SF& f) { f.setIconSize(16); }, {}, false},
        {"ThemeColor", [](SF& f) { f.setThemeColor(SF::ThemeKhaki); }, {key("ThemeColor")}, true},
        {"Style", [](SF& f) { f.setStyle(SF::StyleLinear); }, {key("Style")}, true},
        {"IconSize", [](SF& f) { f.setIconSize(24); }, {key("IconSize")}, true},
        {"BackColorStyle, even unchanged", [](SF& f) { f.setBackColorStyle(0); }, {key("BackColorStyle")}, true},
        {"MaxButton, even unchanged", [](SF& f) { f.setMaxButton(true); }, {key("MaxButton")}, true},
        {"CustomBackColor while BackColorStyle is 0",
         [](SF& f) { f.setCustomBackColor(Highlight); },
         {key("CustomBackColor")},
         false},
        {"CustomBackColor while BackColorStyle is 2",
         [](SF& f) {
             fixture::readStored(f, {{"BackColorStyle", SF::BackCustom}});
             f.setCustomBackColor(Highlight);
         },
         {key("CustomBackColor")},
         true},
        {"ColorFrom outside ThemeCustom", [](SF& f) { f.setColorFrom(Highlight); }, {key("ColorFrom")}, true},
        {"ColorTo outside ThemeCustom", [](SF& f) { f.setColorTo(Highlight); }, {key("ColorTo")}, true},
    };
    for (const Case& c : cases) {
        SF& f = placed();
        mark();
        ASSERT_TRUE(marked());
        c.change(f);
        EXPECT_EQ(notices, c.notices) << c.what;
        EXPECT_EQ(marked(), !c.redraws) << c.what;
        EXPECT_TRUE(reports.empty()) << c.what;
    }
}

TEST_F(LifeCycle, ColoursAreTranslatedAsStoredAndWorkOnlyUnderThemeCustom)
{
    const std::int32_t highlight = SF::TranslateColor(Highlight);
    ASSERT_NE(highlight, Highlight);
    for (std::int32_t theme : {SF::ThemeBlue, SF::ThemeCustom}) {
        SF& f = placed();
        f.setStyle(SF::StyleSolid); // its glyphs take the fill colour
        f.setThemeColor(theme);
        const std::int32_t frame0 = peek(f).m_lFrameColor(), fill0 = peek(f).m_lFillColor();
        f.setColorFrom(Highlight);
        f.setColorTo(0x336699);
        f.setCustomBackColor(Highlight);
        EXPECT_EQ(f.ColorFrom(), highlight);
        EXPECT_EQ(f.ColorTo(), 0x336699);
        EXPECT_EQ(f.CustomBackColor(), Highlight); // translated only when applied
        const bool custom = theme == SF::ThemeCustom;
        EXPECT_EQ(peek(f).m_lFrameColor(), custom ? highlight : frame0) << theme;
        EXPECT_EQ(peek(f).m_lFillColor(), custom ? 0x336699 : fill0) << theme;
        // What the designer shows after the last redraw.
        EXPECT_EQ(border(), custom ? highlight : BlueF) << theme;
        EXPECT_TRUE(closeGlyphAt(peek(f).m_aCapBtn()[0], custom ? 0x336699 : BlueL)) << theme;
    }
}

TEST_F(LifeCycle, AStoredValueThatCannotBeConvertedEndsTheReadingThere)
{
    struct Case {
        const char* what;
        forms::PropertyBag stored;
        const char* report;
        std::function<void(const SF&)> read;
    } const cases[] = {
        {"BackColorStyle as text",
         {{key("themecolor"), 3}, {key("backcolorstyle"), "abc"}, {key("borderstyle"), 1}, {key("closebutton"), true}},
         "UserControl_ReadProperties:13",
         [](const SF& f) {
             EXPECT_EQ(f.ThemeColor(), SF::ThemeKhaki);
             EXPECT_EQ(f.ColorTo(), 0xC0E0FF);
             EXPECT_EQ(f.BorderStyle(), 0);
             EXPECT_FALSE(f.CloseButton());
             EXPECT_EQ(f.IconSize(), 0);
         }},
        {"IconSize beyond 16 bits",
         {{key("style"), 3}, {key("iconsize"), 40000}, {key("changeallbackgrounds"), true}},
         "UserControl_ReadProperties:6",
         [](const SF& f) {
             EXPECT_EQ(f.Style(), SF::StyleLinear);
             EXPECT_TRUE(f.CloseButton());
             EXPECT_EQ(f.IconSize(), 0);
             EXPECT_FALSE(f.ChangeAllBackgrounds());
         }},
    };
    for (const Case& c : cases) {
        SF& f = loaded(c.stored);
        EXPECT_EQ(reports, (std::vector<QString>{key(c.report)})) << c.what;
        c.read(f);
        // Nothing after the settings: no caption, colours, title, layout or hooks.
        EXPECT_TRUE(peek(f).m_sCaption().isEmpty()) << c.what;
        EXPECT_EQ(peek(f).m_frmParent(), nullptr) << c.what;
        EXPECT_EQ(
            peek(f).m_lFrameColor() | peek(f).m_lFillColor() | peek(f).m_lCaptionHeight() | peek(f).m_lTitleHeight(), 0)
            << c.what;
        EXPECT_TRUE(peek(f).m_aHooks().empty()) << c.what;
        EXPECT_EQ(f.procedure(), nullptr) << c.what;
        EXPECT_EQ(form->procedure(), nullptr) << c.what;
        EXPECT_FALSE(peek(f).m_bMoveable()) << c.what;
        EXPECT_EQ(form->borderStyle(), 2) << c.what;
        // Nothing drawn.
        bool blank = true;
        for (int y = 0; y < img().height() && blank; ++y)
            for (int x = 0; x < img().width() && blank; ++x)
                blank = at(x, y) == White;
        EXPECT_TRUE(blank) << c.what;
    }
}

TEST_F(LifeCycle, TheDesignerReadsWithoutHooksAndPaintsOnlyTheStaticTitle)
{
    for (bool run : {true, false}) {
        SF& f = loaded({{key("themecolor"), 3}, {key("style"), 3}}, run);
        EXPECT_EQ(peek(f).m_lFrameColor(), KhakiF) << run;
        EXPECT_GT(peek(f).m_lTitleHeight(), 0) << run;
        EXPECT_EQ(peek(f).m_frmParent(), form.get()) << run;
        EXPECT_EQ(peek(f).m_aHooks().size(), run ? 2u : 0u) << run;
        EXPECT_EQ(f.procedure() != nullptr, run) << run;
        EXPECT_EQ(form->procedure() != nullptr, run) << run;
        EXPECT_EQ(peek(f).m_bCanTrackLeave(), run) << run;
        EXPECT_EQ(peek(f).m_bMoveable(), run) << run;
        EXPECT_EQ(form->borderStyle(), 0) << run;
        // At run time the whole title bar and the border; in the designer
        // the static title alone.
        EXPECT_EQ(border() == KhakiF, run) << run;
        EXPECT_EQ(closeGlyphAt(peek(f).m_aCapBtn()[0]), run) << run;
        EXPECT_EQ(onlyTheStaticTitle(), !run) << run;
        form->unload(); // quiet with or without hooks
        EXPECT_TRUE(reports.empty()) << run;
    }
    // BorderStyleSetup in the designer: no system border, no more painting
    // than the static title.
    SF& f = placed();
    form->setBorderStyle(2);
    mark();
    f.BorderStyleSetup();
    EXPECT_EQ(form->borderStyle(), 0);
    EXPECT_FALSE(marked());
    EXPECT_TRUE(onlyTheStaticTitle());
    EXPECT_NE(border(), peek(f).m_lFrameColor());
    EXPECT_FALSE(closeGlyphAt(peek(f).m_aCapBtn()[0]));
}

TEST_F(LifeCycle, UnloadRemovesTheHooksAndTheNextLoadHooksAgain)
{
    SF& f = loaded({});
    form->unload();
    ASSERT_EQ(peek(f).m_aHooks().size(), 2u);
    EXPECT_EQ(peek(f).m_aHooks()[0].hWnd | peek(f).m_aHooks()[1].hWnd, 0u);
    EXPECT_EQ(f.procedure(), nullptr);
    EXPECT_EQ(form->procedure(), nullptr);
    EXPECT_EQ(peek(f).m_frmParent(), nullptr);

    form->show();
    // The freed slots are taken again, the highest first.
    ASSERT_EQ(peek(f).m_aHooks().size(), 2u);
    EXPECT_EQ(peek(f).m_aHooks()[1].hWnd, f.hWnd());
    EXPECT_EQ(peek(f).m_aHooks()[0].hWnd, form->hWnd());
    f.clearLeave();
    win32::SendMessageA(f.hWnd(), wm::MouseMove, 0, forms::makeLParam(100, 150));
    EXPECT_TRUE(f.leaveRequested());
    EXPECT_TRUE(reports.empty());
}

} // namespace
