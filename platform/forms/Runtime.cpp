#include "forms/Runtime.h"

#include "vb/Failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QPainterPath>
#include <QPalette>
#include <QRawFont>
#include <QScreen>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace forms {

namespace {
float dpiX()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const qreal dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? static_cast<float>(dpi) : 96.0f;
}
float dpiY()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    const qreal dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? static_cast<float>(dpi) : 96.0f;
}
} // namespace

float twipsPerPixelX()
{
    return std::round(1440.0f / dpiX());
}

float twipsPerPixelY()
{
    return std::round(1440.0f / dpiY());
}

int wholePixelScale(qreal dpr)
{
    return std::max(1, static_cast<int>(std::floor(dpr + 1e-6)));
}

qreal wholePixelRatio()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->devicePixelRatio() : 1.0;
}

float twipsPerWholePixelX()
{
    const qreal dpr = wholePixelRatio();
    return static_cast<float>(twipsPerPixelX() * wholePixelScale(dpr) / dpr);
}

float twipsPerWholePixelY()
{
    const qreal dpr = wholePixelRatio();
    return static_cast<float>(twipsPerPixelY() * wholePixelScale(dpr) / dpr);
}

int toPixelsX(float twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

int toPixelsY(float twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelY()));
}

float toTwipsX(int pixels)
{
    return static_cast<float>(pixels) * twipsPerPixelX();
}

float toTwipsY(int pixels)
{
    return static_cast<float>(pixels) * twipsPerPixelY();
}

QColor toQColor(long colour)
{
    const unsigned long c = static_cast<unsigned long>(colour) & 0xFFFFFFFFul;
    if (c & 0x80000000ul) {
        const QPalette p = QGuiApplication::palette();
        switch (c & 0xFFul) {
        case 0x05: return p.color(QPalette::Base);
        case 0x08: return p.color(QPalette::Text);
        case 0x0F: return p.color(QPalette::Button);
        case 0x12: return p.color(QPalette::ButtonText);
        case 0x0D: return p.color(QPalette::Highlight);
        case 0x0E: return p.color(QPalette::HighlightedText);
        case 0x10: return p.color(QPalette::Mid);
        case 0x14: return p.color(QPalette::Light);
        case 0x15: return p.color(QPalette::Dark);
        case 0x16: return p.color(QPalette::Midlight);
        default: vb::raise(vb::err::InvalidCall);
        }
    }
    if (c > 0xFFFFFFul)
        vb::raise(vb::err::InvalidCall);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

long fromQColor(const QColor& colour)
{
    return static_cast<long>(colour.red()) | (static_cast<long>(colour.green()) << 8)
        | (static_cast<long>(colour.blue()) << 16);
}

QFont font(const QString& family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

namespace {
quint16 read16(const QByteArray& font, qsizetype at)
{
    return qFromBigEndian<quint16>(font.constData() + at);
}

void write16(QByteArray& font, qsizetype at, quint16 value)
{
    qToBigEndian<quint16>(value, font.data() + at);
}

// Where each table of a TrueType file starts, by tag; empty when the file
// is not one.
QHash<QByteArray, qsizetype> tables(const QByteArray& font)
{
    QHash<QByteArray, qsizetype> at;
    if (font.size() < 12)
        return at;
    const int count = read16(font, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 12 + 16 * qsizetype(i);
        if (entry + 16 > font.size())
            return {};
        const qsizetype offset = qFromBigEndian<quint32>(font.constData() + entry + 8);
        const qsizetype length = qFromBigEndian<quint32>(font.constData() + entry + 12);
        if (offset + length > font.size())
            return {};
        at.insert(font.mid(entry, 4), offset);
    }
    return at;
}

// Whether two faces draw the same strokes: the same outlines for a few
// letters and digits, whatever their widths.
bool sameStrokes(const QByteArray& regular, const QByteArray& bold)
{
    const QRawFont a(regular, 100, QFont::PreferNoHinting), b(bold, 100, QFont::PreferNoHinting);
    if (!a.isValid() || !b.isValid())
        return false;
    const QString probe = QStringLiteral("Hno08");
    const QList<quint32> ga = a.glyphIndexesForString(probe), gb = b.glyphIndexesForString(probe);
    if (ga.size() != probe.size() || gb.size() != probe.size())
        return false;
    for (qsizetype i = 0; i < ga.size(); ++i) {
        const QPainterPath pa = a.pathForGlyph(ga[i]), pb = b.pathForGlyph(gb[i]);
        if (pa.isEmpty() || pa != pb)
            return false;
    }
    return true;
}

// The bold face of fonts-wine is the regular outlines with the bold advance
// widths. It calls itself bold, so Qt draws it as it is: spaced as bold,
// with the strokes of the regular face. Declared a demi-bold face without
// the bold flags, it still answers every bold request and keeps its widths
// and heights, and Qt thickens its outlines (a bold request, a face neither
// flagged bold nor of weight 700) before they are rasterised, with or
// without antialiasing. Its small-size bitmaps stay: without them Qt reads
// an ascent a pixel shorter at some sizes. Empty when the file is not as
// expected.
QByteArray boldThatShows(QByteArray bold)
{
    const QHash<QByteArray, qsizetype> at = tables(bold);
    const qsizetype head = at.value("head", -1), os2 = at.value("OS/2", -1);
    if (head < 0 || os2 < 0 || head + 46 > bold.size() || os2 + 64 > bold.size())
        return {};
    constexpr quint16 MacBold = 0x1, SelectionBold = 0x20, DemiBold = 600;
    write16(bold, head + 44, read16(bold, head + 44) & ~MacBold);
    write16(bold, os2 + 4, DemiBold);
    write16(bold, os2 + 62, read16(bold, os2 + 62) & ~SelectionBold);
    return bold;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

bool registerTahoma(const QString& folder)
{
    // The windows are laid out for Tahoma's metrics. Debian's fonts-wine
    // ships a metric-compatible one that fontconfig does not know of; its
    // bold face needs the thickening above to look bold.
    const QByteArray regular = readFile(folder + QStringLiteral("/tahoma.ttf"));
    QByteArray bold = readFile(folder + QStringLiteral("/tahomabd.ttf"));
    if (!bold.isEmpty() && sameStrokes(regular, bold))
        if (const QByteArray shows = boldThatShows(bold); !shows.isEmpty())
            bold = shows;
    bool any = false;
    for (const QByteArray& face : {regular, bold})
        if (!face.isEmpty() && QFontDatabase::addApplicationFontFromData(face) >= 0)
            any = true;
    return any;
}

void installFontSubstitutes()
{
    registerTahoma(QStringLiteral("/usr/share/wine/fonts"));
    // The designs name Windows fonts; without the registered Tahoma DejaVu
    // Sans stands in. Chinese text falls back through fontconfig to the
    // installed CJK font.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
}

namespace {
QString& appPathOverride()
{
    static QString p;
    return p;
}
} // namespace

QString appPath()
{
    return appPathOverride().isEmpty() ? QCoreApplication::applicationDirPath() : appPathOverride();
}

void setAppPath(const QString& folder)
{
    appPathOverride() = folder;
}

void raiseEvent(const std::function<void()>& handler)
{
    if (!handler)
        return;
    try {
        handler();
    } catch (const vb::Failure& f) {
        std::fprintf(stderr, "Run-time error '%ld': %s\n", f.number(), f.description().toUtf8().constData());
    } catch (const std::exception& e) {
        // Nothing may cross Qt's event loop.
        std::fprintf(stderr, "Run-time error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Run-time error: unknown exception\n");
    }
}

} // namespace forms
