#include "forms/Picture.h"

#include "forms/Runtime.h"
#include "vb/Failure.h"
#include "vb/Paths.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <cstring>
#include <map>
#include <optional>

namespace forms {

float Picture::width() const
{
    return toTwipsX(pixmap_.width());
}

float Picture::height() const
{
    return toTwipsY(pixmap_.height());
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
} // namespace

Picture resourcePicture(const QString& name)
{
    QPixmap p = name.endsWith(QLatin1String(".svg"))     ? renderSvg(name, QSize())
        : name.endsWith(QLatin1String(".rgb32")) ? rawRgb32(name)
                                                  : QPixmap(name);
    if (p.isNull())
        vb::raise(vb::err::InvalidPicture);
    return Picture(std::move(p));
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
