// DrawTextExA on a control's surface: code page 936 bytes, one line
// centred in its rectangle, the ampersand's underline, pixel-exact ink.
#include "Surface.h"

#include "forms/Runtime.h"
#include "vb/Codepage.h"

#include <QByteArray>
#include <algorithm>

namespace {

using namespace win32;

class Text : public fixture::Surface {
protected:
    void SetUp() override
    {
        fixture::Surface::SetUp();
        box->move(0, 0, 120 * 15.0f, 40 * 15.0f);
        box->cls();
        box->drawing().setFont(forms::font(QStringLiteral("Tahoma"), 8, true));
        box->drawing().setTextColour(QColor(0, 0, 0));
    }
    // Draws the text afresh and returns the surface.
    QImage draw(const QByteArray& text, RECT rect, unsigned format, int length = -2)
    {
        box->cls();
        DrawTextExA(dc(), text.constData(), length == -2 ? static_cast<int>(text.size()) : length, &rect, format,
                    nullptr);
        return img().copy();
    }
    static QRect inkBox(const QImage& image)
    {
        QRect r;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    r |= QRect(x, y, 1, 1);
        return r;
    }
};

TEST_F(Text, OneLineIsCentredInItsRectangleAndClippedToIt)
{
    const unsigned centred = DT_SINGLELINE | DT_VCENTER;
    const QRect tall = inkBox(draw("Menu", {0, 0, 120, 40}, centred));
    const QRect shallow = inkBox(draw("Menu", {0, 0, 120, 20}, centred));
    const QRect top = inkBox(draw("Menu", {0, 0, 120, 40}, DT_SINGLELINE));
    ASSERT_FALSE(tall.isEmpty());
    EXPECT_EQ(tall.top() - shallow.top(), 10); // half the 20 pixels more
    EXPECT_EQ(tall.left(), shallow.left());
    EXPECT_LT(top.top(), tall.top());
    // Nothing outside the rectangle, even for a text longer than it.
    const QRect clipped = inkBox(draw("Menu Menu Menu Menu", {10, 10, 40, 30}, centred));
    EXPECT_TRUE(QRect(10, 10, 30, 20).contains(clipped))
        << clipped.x() << "," << clipped.y() << " " << clipped.width() << "x" << clipped.height();
    // The returned height is the line's, whatever the rectangle.
    RECT r{0, 0, 120, 40};
    const int h = DrawTextExA(dc(), "Menu", -1, &r, centred, nullptr);
    EXPECT_GT(h, 8);
    EXPECT_LT(h, 20);
}

TEST_F(Text, TheInkIsTheTextColourAlone)
{
    box->drawing().setTextColour(QColor(0x12, 0x34, 0x56));
    const QImage image = draw(vb::toAnsi(QStringLiteral("系统菜单 Menu")), {0, 0, 120, 40}, DT_SINGLELINE | DT_VCENTER);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c != qRgb(255, 255, 255)) {
                EXPECT_EQ(c, qRgb(0x12, 0x34, 0x56)) << x << "," << y;
                ++inked;
            }
        }
    EXPECT_GT(inked, 20);
}

TEST_F(Text, BytesAreCodePage936UpToTheLengthOrTheNul)
{
    const unsigned f = DT_SINGLELINE | DT_VCENTER;
    const RECT r{0, 0, 120, 40};
    // GBK bytes of "中文" draw what the same text drawn as text does, and
    // differ from the bytes read as Latin-1.
    const QByteArray gbk("\xD6\xD0\xCE\xC4");
    const QImage chinese = draw(gbk, r, f);
    EXPECT_EQ(chinese, draw(vb::toAnsi(QStringLiteral("中文")), r, f));
    EXPECT_FALSE(inkBox(chinese).isEmpty());
    // A length of -1 ends at the NUL; a length ends where it says.
    const QImage ab = draw("AB", r, f);
    EXPECT_EQ(draw(QByteArray("AB\0CD", 5), r, f, -1), ab);
    EXPECT_EQ(draw("ABCD", r, f, 2), ab);
    EXPECT_NE(draw("ABCD", r, f, 4), ab);
}

TEST_F(Text, AnAmpersandUnderlinesTheNextCharacter)
{
    const unsigned f = DT_SINGLELINE | DT_VCENTER;
    const RECT r{0, 0, 120, 40};
    const QRect plain = inkBox(draw("Move", r, f));
    const QRect marked = inkBox(draw("&Move", r, f));
    // The underline lies below the letters and under the first one only.
    EXPECT_GT(marked.bottom(), plain.bottom());
    EXPECT_EQ(marked.left(), plain.left());
    const QImage m = draw("&Move", r, f);
    int under = 0;
    for (int x = 0; x < m.width(); ++x)
        under += m.pixel(x, marked.bottom()) != qRgb(255, 255, 255);
    EXPECT_GT(under, 2);
    EXPECT_LT(under, plain.width() / 2);
    // "&&" is one ampersand, drawn as DT_NOPREFIX draws a single one.
    EXPECT_EQ(draw("a&&b", r, f), draw("a&b", r, f | DT_NOPREFIX));
    EXPECT_GT(inkBox(draw("&Move", r, f | DT_NOPREFIX)).width(), plain.width());
}

} // namespace
