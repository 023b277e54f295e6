#include "forms/Runtime.h"

#include "vb/Failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
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

bool registerTahoma(const QString& folder)
{
    // The windows are laid out for Tahoma's metrics. Debian's fonts-wine
    // ships a metric-compatible one that fontconfig does not know of.
    bool any = false;
    for (const char* file : {"/tahoma.ttf", "/tahomabd.ttf"}) {
        const QString path = folder + QLatin1String(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            any = true;
    }
    return any;
}

void installFontSubstitutes()
{
    registerTahoma(QStringLiteral("/usr/share/wine/fonts"));
    // The designs name Windows fonts; without the registered Tahoma DejaVu
    // Sans stands in. Chinese text falls back through fontconfig to the
    // installed CJK font.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
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
