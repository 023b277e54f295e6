#include "FrameFixture.h"

#include "forms/Form.h"
#include "forms/Runtime.h"
#include "vb/Codepage.h"

#include <QDir>
#include <QPainter>
#include <set>

namespace {

using SF = frame::SkinFrame;

constexpr std::int32_t KhakiF = 0x486B62, KhakiL = 0xF2F8F8;

// A frame set up as the life cycle sets one up: settings, colours, title
// height, then the buttons and the first painting.
class Title : public fixture::Frame {
protected:
    SF& titled(int width, int height, std::int32_t style, std::int32_t theme = SF::ThemeKhaki, bool icon = false,
               const QString& caption = QString())
    {
        SF& f = make(width, height);
        if (icon) {
            QPixmap p(16, 16);
            p.fill(QColor(200, 30, 40));
            form->setIcon(QIcon(p));
        }
        f.setBackColor(0xD8E9EC);
        QFont bold = f.ambientFont();
        bold.setPixelSize(11);
        bold.setBold(true);
        f.setFont(bold);
        fixture::readStored(f,
                            {{"ThemeColor", theme},
                             {"Style", style},
                             {"IconSize", 16},
                             {"CloseButton", true},
                             {"MaxButton", true},
                             {"MinButton", true},
                             {"ColorFrom", 0x404080},
                             {"ColorTo", 0xC0E0FF}});
        testsupport::FrameProbe::asIfCaptionRead(f, caption);
        f.SetThemeColor();
        f.TitleBarHeightSetup();
        f.BorderStyleSetup();
        return f;
    }
    // A caption height of 31 pixels: the 16-pixel icon's, over a small font.
    static void captionOf31(SF& f)
    {
        QFont small = f.ambientFont();
        small.setPixelSize(9);
        f.setFont(small);
        fixture::readStored(f, {{"IconSize", 16}});
        f.TitleBarHeightSetup();
        ASSERT_EQ(peek(f).m_lCaptionHeight(), 31);
    }
    // A new fill colour, the frame colour kept: the custom pair.
    static void newFillColour(SF& f, std::int32_t fill)
    {
        fixture::readStored(
            f, {{"ThemeColor", SF::ThemeCustom}, {"ColorFrom", peek(f).m_lFrameColor()}, {"ColorTo", fill}});
        f.SetThemeColor();
    }
    // The columns of a row that carry a colour.
    std::vector<int> columnsOf(int y, std::int32_t colour)
    {
        std::vector<int> out;
        for (int x = 0; x < img().width(); ++x)
            if (at(x, y) == colour)
                out.push_back(x);
        return out;
    }
};

TEST_F(Title, TheHeightRule)
{
    SF& f = make();
    QFont small = f.ambientFont();
    small.setPixelSize(9);
    f.setFont(small);
    fixture::readStored(f, {{"IconSize", 16}});
    f.TitleBarHeightSetup();
    EXPECT_EQ(peek(f).m_lCaptionHeight(), 31); // the icon rule wins
    EXPECT_EQ(peek(f).m_lTitleHeight(), 31);
    fixture::readStored(f, {{"Style", SF::StyleGripBar}, {"IconSize", 32}});
    f.TitleBarHeightSetup();
    EXPECT_EQ(peek(f).m_lCaptionHeight(), 47);
    EXPECT_EQ(peek(f).m_lTitleHeight(), 57);
    QFont big = f.ambientFont();
    big.setPixelSize(40);
    f.setFont(big);
    fixture::readStored(f, {{"IconSize", 16}});
    f.TitleBarHeightSetup();
    EXPECT_EQ(peek(f).m_lCaptionHeight(), f.textHeight(QStringLiteral("H")) + 10);
}

TEST_F(Title, ButtonsAreLaidOutFromTheRight)
{
    struct Case {
        int width;
        bool close, max, min;
        std::int32_t left[3];
        std::int16_t leftmost;
    } const cases[] = {
        {500, true, true, true, {476, 455, 434}, 2}, {500, true, false, true, {476, 0, 455}, 2},
        {500, true, false, false, {476, 0, 0}, 0},   {400, true, true, true, {376, 355, 334}, 2},
        {400, true, false, true, {376, 0, 355}, 2},
    };
    for (const Case& c : cases) {
        SF& f = make(c.width, 60);
        captionOf31(f);
        fixture::readStored(
            f, {{"Style", SF::StyleCylinder}, {"CloseButton", c.close}, {"MaxButton", c.max}, {"MinButton", c.min}});
        f.BorderStyleSetup();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(peek(f).m_aCapBtn()[i].Left, c.left[i]) << c.width << " button " << i;
        EXPECT_EQ(peek(f).m_iLeftBtn(), c.leftmost);
        EXPECT_EQ(peek(f).m_aCapBtn()[0].Top, 8);
    }
}

TEST_F(Title, HitTestsAreStrict)
{
    SF& f = make(500, 60);
    captionOf31(f);
    fixture::readStored(f, {{"CloseButton", true}, {"MinButton", true}});
    f.BorderStyleSetup();
    ASSERT_EQ(peek(f).m_aCapBtn()[0].Left, 476);
    ASSERT_EQ(peek(f).m_aCapBtn()[0].Top, 8);
    EXPECT_EQ(f.HitTestCaptionBtn(477, 9), 0);
    EXPECT_EQ(f.HitTestCaptionBtn(493, 25), 0);
    for (auto [x, y] : {std::pair{476, 9}, {494, 9}, {480, 8}, {480, 26}})
        EXPECT_EQ(f.HitTestCaptionBtn(x, y), -1) << x << "," << y;
    EXPECT_EQ(f.HitTestCaptionBtn(460, 10), 2); // minimise moved into the maximise place
    testsupport::FrameProbe::asIfButtonHiddenInPlace(f, 0);
    EXPECT_EQ(f.HitTestCaptionBtn(477, 9), -1);
}

TEST_F(Title, ButtonOffsetsGoHalfToEven)
{
    SF& f = titled(400, 100, SF::StyleCylinder);
    EXPECT_EQ(peek(f).m_lTitleHeight(), 31);
    EXPECT_EQ(peek(f).m_lBtnTop(), 6); // 6.5
    EXPECT_EQ(peek(f).m_aCapBtn()[0].Top, 8);
    SF& g = titled(400, 100, SF::StyleGripBar);
    EXPECT_EQ(peek(g).m_lTitleHeight(), 41);
    EXPECT_EQ(peek(g).m_lBtnTop(), 12); // 11.5
    EXPECT_EQ(peek(g).m_aCapBtn()[2].Top, 14);
}

TEST_F(Title, TheLinePairTheBorderAndTheCorners)
{
    titled(400, 100, SF::StyleCylinder);
    const int T = 31;
    const std::int32_t D = SF::BlendColors(KhakiF, 0);
    for (int x : {0, 4, 395, 399})
        EXPECT_EQ(at(x, T), KhakiF) << x;
    for (int x : {5, 200, 394})
        EXPECT_EQ(at(x, T), D) << x;
    // Row T + 1: columns 0 to 3 F, 4 D; row T + 2: 0 to 2 F, 3 D.
    const std::int32_t rowT1[] = {KhakiF, KhakiF, KhakiF, KhakiF, D};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(at(x, T + 1), rowT1[x]) << x;
    const std::int32_t rowT2[] = {KhakiF, KhakiF, KhakiF, D};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(at(x, T + 2), rowT2[x]) << x;
    // The mirrored corner, and the three outlines at the bottom.
    EXPECT_EQ(at(397, T + 1), KhakiF);
    EXPECT_EQ(at(395, T + 1), D);
    EXPECT_EQ(at(396, T + 2), D);
    EXPECT_EQ(at(50, 99), KhakiF);
    EXPECT_EQ(at(50, 98), KhakiF);
    EXPECT_EQ(at(50, 97), D);
    EXPECT_EQ(at(2, 60), D);
    EXPECT_EQ(at(397, 60), D);
    // The shadow band: darkest just under the title, towards the back
    // colour below.
    EXPECT_LT(at(50, T + 2) & 0xFF, at(50, T + 7) & 0xFF);
}

TEST_F(Title, AStyleOutsideTheFourKeepsItsHeightAndDrawsNoTitle)
{
    SF& f = titled(400, 100, SF::StyleCylinder, SF::ThemeKhaki, false, QStringLiteral("Torvasen"));
    // The buttons last placed for a title of 28 pixels (icon size 13), 5
    // pixels down; then the 31-pixel caption of the 16-pixel icon again.
    fixture::readStored(f, {{"IconSize", 13}});
    f.TitleBarHeightSetup();
    f.DrawTitleBar();
    ASSERT_EQ(peek(f).m_lBtnTop(), 5);
    fixture::readStored(f, {{"Style", 7}, {"IconSize", 16}});
    f.TitleBarHeightSetup();
    f.surface().setBackground(QPixmap());
    f.setBackColor(0xFFFFFF);
    f.DrawTitleBar();
    EXPECT_EQ(peek(f).m_lTitleHeight(), 31);
    EXPECT_EQ(peek(f).m_lBtnTop(), 5);
    EXPECT_EQ(at(200, 10), White); // no background, no caption
    EXPECT_EQ(at(200, 31), White); // no line pair
    EXPECT_EQ(at(0, 60), KhakiF);  // the border is there
    EXPECT_EQ(peek(f).m_aCapBtn()[0].Top, 7);
    EXPECT_EQ(at(peek(f).m_aCapBtn()[0].Left + 6, peek(f).m_aCapBtn()[0].Top + 5), KhakiF); // a close glyph pixel
}

TEST_F(Title, WithAnIconAWiderSurfacePaintsOnlyTheNewColumns)
{
    SF& f = titled(400, 80, SF::StyleLinear, SF::ThemeKhaki, true);
    EXPECT_EQ(peek(f).m_lTitleStartX(), 399);
    EXPECT_EQ(at(12, 17), 0x281EC8); // the icon, at (9, 10)
    // The stored picture keeps the old title; a new fill colour shows
    // where the repaint starts.
    newFillColour(f, 0x0000FF);
    f.move(0, 0, 500 * 15.0f, 80 * 15.0f);
    f.cls();
    f.DrawTitleBar();
    EXPECT_EQ(at(100, 1) & 0xFF, at(398, 1) & 0xFF);
    EXPECT_NE(at(398, 1), at(399, 1));
    EXPECT_EQ(at(399, 1), at(440, 1));
    EXPECT_EQ(at(12, 17), 0x281EC8);
}

TEST_F(Title, WithoutAnIconTheWholeTitleIsRepainted)
{
    SF& f = titled(400, 80, SF::StyleLinear);
    EXPECT_EQ(peek(f).m_lTitleStartX(), 0);
    EXPECT_TRUE(peek(f).m_picIcon().isNull());
    newFillColour(f, 0x0000FF);
    f.cls();
    f.DrawTitleBar();
    EXPECT_EQ(at(1, 1), at(300, 1));
}

TEST_F(Title, SolidGlyphsAreLightUntilLit)
{
    SF& f = titled(400, 80, SF::StyleSolid);
    const auto& close = peek(f).m_aCapBtn()[0];
    const int gx = close.Left + 6, gy = close.Top + 5; // first pixel of the X
    EXPECT_EQ(at(gx, gy), KhakiL);
    f.DrawCaptionBtns(true, peek(f).m_lFrameColor(), 0);
    EXPECT_EQ(at(gx, gy), KhakiF);
    EXPECT_TRUE(peek(f).m_aCapBtn()[0].Hot);
    EXPECT_EQ(f.toolTipText(), QStringLiteral("关闭"));
    f.PaintCaptionBtns(-1);
    EXPECT_EQ(at(gx, gy), KhakiL);
    EXPECT_FALSE(peek(f).m_aCapBtn()[0].Hot);
    EXPECT_TRUE(f.toolTipText().isEmpty());
}

TEST_F(Title, TheMaximiseButtonFollowsTheWindowState)
{
    SF& f = titled(400, 80, SF::StyleLinear);
    const auto& b = peek(f).m_aCapBtn()[1];
    testsupport::FrameProbe::asIfWindowState(f, 2);
    f.DrawCaptionBtns(true, peek(f).m_lFrameColor(), 1);
    EXPECT_EQ(f.toolTipText(), QStringLiteral("还原"));
    EXPECT_EQ(at(b.Left + 7, b.Top + 4), KhakiF); // the restore glyph's back window
    testsupport::FrameProbe::asIfWindowState(f, 0);
    f.DrawCaptionBtns(true, peek(f).m_lFrameColor(), 1);
    EXPECT_EQ(f.toolTipText(), QStringLiteral("最大化"));
    EXPECT_EQ(at(b.Left + 4, b.Top + 5), KhakiF);
    EXPECT_NE(at(b.Left + 16, b.Top + 4), KhakiF);
}

TEST_F(Title, TheMenuMirrorsTheButtons)
{
    SF& f = titled(400, 80, SF::StyleLinear);
    EXPECT_EQ(f.MnuSyst(0).caption(), QStringLiteral("还原"));
    EXPECT_EQ(f.MnuSyst(1).caption(), QStringLiteral("最小化"));
    EXPECT_EQ(f.MnuSyst(2).caption(), QStringLiteral("最大化"));
    EXPECT_EQ(f.MnuSyst(4).caption(), QStringLiteral("关闭            Alt+F4"));
    EXPECT_EQ(f.MnuSyst(6).caption(), QStringLiteral("窗体置顶"));
    fixture::readStored(f, {{"MinButton", false}, {"MaxButton", false}, {"CloseButton", false}});
    f.BorderStyleSetup();
    EXPECT_FALSE(f.MnuSyst(1).isVisible());
    EXPECT_FALSE(f.MnuSyst(2).isVisible());
    EXPECT_FALSE(f.MnuSyst(4).isEnabled());
    const auto& close = peek(f).m_aCapBtn()[0];
    EXPECT_NE(at(close.Left + 6, close.Top + 5), KhakiF); // no close glyph
}

TEST_F(Title, TrimWord)
{
    SF& f = make(400, 60);
    const QString text = QStringLiteral("驾驶员理论考试模拟系");
    const int w = f.textWidth(text);
    EXPECT_EQ(f.TrimWord(text, w), text);
    const QString cut = f.TrimWord(text, w - 3);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("..."))) << cut.toStdString();
    EXPECT_LE(f.textWidth(cut), w - 3);
    EXPECT_EQ(cut.left(cut.size() - 3), text.left(cut.size() - 3));
    EXPECT_EQ(f.TrimWord(text, f.textWidth(QStringLiteral("驾...")) - 1), QString());
    EXPECT_EQ(f.TrimWord(text, 0), QString());
    EXPECT_EQ(vb::lenB(text), 20);
}

// The pixels of the caption text: the fill colour inside the title rows.
struct Ink {
    int left = 100000, right = -1, count = 0;
};

TEST_F(Title, TheCaptionRunsFromTheIconToTheButtons)
{
    const QString ten = QStringLiteral("驾驶员理论考试模拟系");
    SF& f = titled(400, 80, SF::StyleCylinder, SF::ThemeKhaki, true, ten + ten + ten);
    ASSERT_EQ(peek(f).m_aCapBtn()[2].Left, 334);
    Ink ink;
    for (int y = 4; y < 31; ++y)
        for (int x = 0; x < 400; ++x)
            if (at(x, y) == KhakiL && y > 2) {
                // The title gradient reaches the fill colour only near row 5.
                if (y >= 3 && y <= 6 && !(x > 31 && x < 328))
                    continue;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ++ink.count;
            }
    EXPECT_GT(ink.count, 50);
    EXPECT_GE(ink.left, 31);
    EXPECT_LE(ink.right, 327);
    EXPECT_GT(ink.right, 300); // trimmed to the space, not far short of it
}

TEST_F(Title, TenChineseCharactersAreDrawnWhole)
{
    const QString ten = QStringLiteral("驾驶员理论考试模拟系");
    SF& f = titled(400, 80, SF::StyleSolid, SF::ThemeKhaki, false, ten);
    // Solid: the band under row 8 is the frame colour, so the text's fill
    // colour stands out.
    int right = -1;
    for (int y = 9; y < 31; ++y)
        for (int x = 0; x < 330; ++x)
            if (at(x, y) == KhakiL)
                right = std::max(right, x);
    EXPECT_GE(right, 9 + f.textWidth(ten) - 4);
    EXPECT_LT(right, 9 + f.textWidth(ten) + 2);
}

TEST_F(Title, TheBoldCaptionIsDrawnBold)
{
    // The programs' windows are set in Tahoma 14.25 pt; the frame takes it
    // bold. Its caption against the same caption in the regular weight.
    auto ink = [&](const QString& caption, bool bold) {
        SF& f = titled(500, 60, SF::StyleSolid, SF::ThemeKhaki, false, caption);
        form->window()->setFont(forms::font(QStringLiteral("Tahoma"), 14.25));
        QFont font = f.ambientFont();
        font.setBold(bold);
        f.setFont(font);
        f.TitleBarHeightSetup();
        f.BorderStyleSetup();
        // Solid: the band under row 8 is the frame colour, so the text's
        // fill colour stands out.
        int n = 0;
        for (int y = 9; y < peek(f).m_lTitleHeight(); ++y)
            for (int x = 0; x < peek(f).m_aCapBtn()[2].Left; ++x)
                n += at(x, y) == KhakiL;
        return n;
    };
    for (const QString& caption :
         {QStringLiteral("Torvasen"), QStringLiteral("2013"), QStringLiteral("驾驶员理论考试")}) {
        const int regular = ink(caption, false), bold = ink(caption, true);
        EXPECT_GT(regular, 30) << caption.toStdString();
        EXPECT_GE(bold, regular * 6 / 5) << caption.toStdString() << ": regular " << regular << ", bold " << bold;
    }
}

TEST_F(Title, AnAmpersandUnderlinesTheNextLetter)
{
    auto render = [&](const QString& caption) {
        titled(300, 60, SF::StyleSolid, SF::ThemeKhaki, false, caption);
        return img().copy(0, 0, 200, 31);
    };
    const QImage plain = render(QStringLiteral("AB"));
    const QImage marked = render(QStringLiteral("A&B"));
    std::set<int> rows;
    int differing = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != marked.pixel(x, y)) {
                rows.insert(y);
                ++differing;
            }
    EXPECT_GT(differing, 3);    // the underline
    EXPECT_LE(rows.size(), 2u); // and nothing else: the ampersand is not shown
}

TEST_F(Title, TheTagTakesOverAtRunTimeOnly)
{
    SF& f = titled(400, 80, SF::StyleLinear, SF::ThemeKhaki, false, QStringLiteral("Caption"));
    form->setTag(QStringLiteral("Tag text"));
    f.DrawTitleBar();
    EXPECT_EQ(peek(f).m_sCaption(), QStringLiteral("Tag text"));
    form->setTag(QString());
    f.DrawTitleBar();
    EXPECT_EQ(peek(f).m_sCaption(), QStringLiteral("Tag text"));

    SF& g = titled(400, 80, SF::StyleLinear, SF::ThemeKhaki, false, QStringLiteral("Caption"));
    form->setUserMode(false);
    form->setTag(QStringLiteral("Tag text"));
    g.DrawTitleBar();
    EXPECT_EQ(peek(g).m_sCaption(), QStringLiteral("Caption"));
}

// Every style in every theme colour, with an icon and a caption, for a
// person to look at: build/frame_pictures/titles.png.
TEST_F(Title, GalleryOfStylesAndThemes)
{
    const int width = 360, height = 64;
    QImage sheet(width * 4 + 30, (height + 8) * 7, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (std::int32_t theme = 0; theme <= 6; ++theme)
        for (std::int32_t style = 0; style <= 3; ++style) {
            titled(width, height, style, theme, true, QStringLiteral("驾驶员理论考试 Torvasen"));
            skin->DrawCaptionBtns(true, peek(*skin).m_lFrameColor(), 1);
            p.drawImage(style * (width + 10), theme * (height + 8), img());
        }
    p.end();
    QDir().mkpath(QStringLiteral(FRAME_PICTURES));
    EXPECT_TRUE(sheet.save(QStringLiteral(FRAME_PICTURES "/titles.png")));
}

} // namespace
