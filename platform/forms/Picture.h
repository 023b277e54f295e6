#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace forms {

// A picture as controls hold it; an empty one is "Nothing".
class Picture {
public:
    Picture() = default;
    explicit Picture(QPixmap pixmap) : pixmap_(std::move(pixmap)) {}
    bool isNull() const { return pixmap_.isNull(); }
    const QPixmap& pixmap() const { return pixmap_; }
    // Size in twips.
    float width() const;
    float height() const;

private:
    QPixmap pixmap_;
};

// LoadPicture: a BMP, GIF, JPEG or PNG file ("\" separates folders). An
// empty path gives an empty picture; a missing file fails with 53, one that
// is no picture with 481.
Picture loadPicture(const QString& path);

// A picture of the program's resources (":/name.svg" and the like), at its
// own size.
Picture resourcePicture(const QString& name);

// Icon and cursor resources of the program, by number.
void registerCursorResource(int id, const QString& svg, QPoint hotSpot);
QCursor resourceCursor(int id);

// An icon with one image per size, rendered from one picture.
QIcon resourceIcon(const QString& name, std::initializer_list<int> sizes);

} // namespace forms
