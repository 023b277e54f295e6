#include "forms/Picture.h"

#include "forms/Runtime.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMetaObject>
#include <QPainter>
#include <QResource>
#include <QScreen>
#include <QSvgRenderer>
#include <QThreadPool>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

namespace forms {

float Picture::width() const
{
    return toTwipsX(static_cast<int>(std::lround(pixmap_.deviceIndependentSize().width())));
}

float Picture::height() const
{
    return toTwipsY(static_cast<int>(std::lround(pixmap_.deviceIndependentSize().height())));
}

Picture loadPicture(const QString& path)
{
    if (path.isEmpty())
        return Picture();
    const QString file = vb::nativePath(path);
    if (!QFileInfo(file).isFile())
        vb::raise(vb::err::FileNotFound);
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull())
        vb::raise(vb::err::InvalidPicture);
    return Picture(QPixmap::fromImage(image));
}

namespace {
QPixmap renderSvg(const QString& name, QSize size)
{
    QSvgRenderer renderer(name);
    if (!renderer.isValid())
        return QPixmap();
    if (size.isEmpty())
        size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p);
    p.end();
    return QPixmap::fromImage(image);
}

struct CursorResource {
    QString svg;
    QPoint hotSpot;
    std::optional<QCursor> cursor;
};
std::map<int, CursorResource>& cursors()
{
    static std::map<int, CursorResource> c;
    return c;
}

// A picture stored as its own scanlines (see resources/SvgRender.cpp): the
// image is made over the resource's bytes, with nothing decoded.
QPixmap rawRgb32(const QString& name)
{
    QResource r(name);
    quint32 header[3] = {0, 0, 0}; // width, height, format
    if (!r.isValid() || r.compressionAlgorithm() != QResource::NoCompression
        || r.size() < static_cast<qint64>(sizeof header))
        return QPixmap();
    std::memcpy(header, r.data(), sizeof header);
    const qint64 bytes = static_cast<qint64>(header[0]) * header[1] * 4;
    const auto format = static_cast<QImage::Format>(header[2]);
    if (header[0] == 0 || header[0] > 32768 || header[1] > 32768
        || r.size() != static_cast<qint64>(sizeof header) + bytes
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return QPixmap();
    const QImage image(r.data() + sizeof header, static_cast<int>(header[0]), static_cast<int>(header[1]),
                       static_cast<qsizetype>(header[0]) * 4, format);
    return QPixmap::fromImage(image);
}

qreal screenRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

QImage renderAtRatio(const QString& name, qreal dpr)
{
    QString svg = name;
    svg.replace(svg.lastIndexOf(QLatin1Char('.')), svg.size(), QLatin1String(".svg"));
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return QImage();
    QImage image((QSizeF(renderer.defaultSize()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p);
    p.end();
    image.setDevicePixelRatio(dpr);
    return image;
}

// Pictures being drawn at the screen's ratio, and who waits for them.
struct Sharp {
    bool ready = false;
    QPixmap pixmap;
    std::vector<std::function<void(const QPixmap&)>> waiting;
};
std::map<QString, Sharp>& sharp()
{
    static std::map<QString, Sharp> s;
    return s;
}

// A picture compiled in at its own size, drawn again from its vector
// source for a screen of another device pixel ratio: stretched, its edges
// and its lettering would blur. Empty while it is still being drawn.
QPixmap atScreenRatio(const QString& name)
{
    const qreal dpr = screenRatio();
    if (dpr == 1.0)
        return QPixmap();
    if (auto found = sharp().find(name); found != sharp().end())
        return found->second.ready ? found->second.pixmap : QPixmap();
    // Not prepared at start-up: drawn now, once, and kept like the others.
    Sharp& s = sharp()[name];
    s.ready = true;
    if (const QImage image = renderAtRatio(name, dpr); !image.isNull())
        s.pixmap = QPixmap::fromImage(image);
    return s.pixmap;
}

void sharpReady(const QString& name, const QImage& image)
{
    Sharp& s = sharp()[name];
    s.ready = true;
    if (!image.isNull())
        s.pixmap = QPixmap::fromImage(image);
    auto waiting = std::move(s.waiting);
    s.waiting.clear();
    if (!s.pixmap.isNull())
        for (auto& f : waiting)
            f(s.pixmap);
}
} // namespace

void prepareScreenPictures()
{
    const qreal dpr = screenRatio();
    if (dpr == 1.0)
        return;
    // Drawing them takes longer than the window takes to come up (the
    // background's lettering above all): the window shows the compiled-in
    // pictures first, and each is replaced as soon as it has been drawn.
    // They start once the event loop runs, after the window has been
    // shown: drawn beside its making they would slow it down (the text of
    // the pictures and of the window share the font engine).
    QStringList names;
    for (const QString& file : QDir(QStringLiteral(":/")).entryList({QStringLiteral("*.rgb32")}, QDir::Files)) {
        const QString name = QStringLiteral(":/") + file;
        if (sharp().count(name))
            continue;
        sharp()[name];
        names << name;
    }
    QTimer::singleShot(0, qApp, [names, dpr] {
        for (const QString& name : names)
            QThreadPool::globalInstance()->start([name, dpr] {
                const QImage image = renderAtRatio(name, dpr);
                QMetaObject::invokeMethod(
                    qApp, [name, image] { sharpReady(name, image); }, Qt::QueuedConnection);
            });
    });
}

void whenSharp(const QString& name, std::function<void(const QPixmap&)> then)
{
    auto found = sharp().find(name);
    if (found != sharp().end() && !found->second.ready)
        found->second.waiting.push_back(std::move(then));
}

Picture resourcePicture(const QString& name)
{
    QPixmap p;
    if (name.endsWith(QLatin1String(".rgb32")))
        p = atScreenRatio(name);
    if (p.isNull())
        p = name.endsWith(QLatin1String(".svg"))     ? renderSvg(name, QSize())
            : name.endsWith(QLatin1String(".rgb32")) ? rawRgb32(name)
                                                     : QPixmap(name);
    if (p.isNull())
        vb::raise(vb::err::InvalidPicture);
    return Picture(std::move(p), name);
}

void registerCursorResource(int id, const QString& svg, QPoint hotSpot)
{
    cursors()[id] = {svg, hotSpot, std::nullopt};
}

QCursor resourceCursor(int id)
{
    auto found = cursors().find(id);
    if (found == cursors().end())
        vb::raise(326, QStringLiteral("Resource with identifier '%1' not found").arg(id));
    // Rendered once: every clickable picture and every answer-sheet cell of
    // each exam asks for it.
    CursorResource& r = found->second;
    if (!r.cursor) {
        const QPixmap p = renderSvg(r.svg, QSize(32, 32));
        if (p.isNull())
            vb::raise(vb::err::InvalidPicture);
        r.cursor = QCursor(p, r.hotSpot.x(), r.hotSpot.y());
    }
    return *r.cursor;
}

QIcon resourceIcon(const QString& name, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int s : sizes)
        icon.addPixmap(renderSvg(name, QSize(s, s)));
    return icon;
}

} // namespace forms
