#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <functional>

namespace forms {

// A picture as controls hold it; an empty one is "Nothing".
class Picture {
public:
    Picture() = default;
    explicit Picture(QPixmap pixmap, QString resource = QString())
        : pixmap_(std::move(pixmap))
        , resource_(std::move(resource))
    {
    }
    bool isNull() const { return pixmap_.isNull(); }
    const QPixmap& pixmap() const { return pixmap_; }
    // The program's resource it came from; empty for a file's picture.
    const QString& resource() const { return resource_; }
    // Size in twips.
    float width() const;
    float height() const;

private:
    QPixmap pixmap_;
    QString resource_;
};

// LoadPicture: a BMP, GIF, JPEG or PNG file ("\" separates folders). An
// empty path gives an empty picture; a missing file fails with 53, one that
// is no picture with 481.
Picture loadPicture(const QString& path);

// A picture of the program's resources (":/name.svg" and the like), at its
// own size.
Picture resourcePicture(const QString& name);

// On a screen whose device pixel ratio is not 1, starts drawing the
// program's compiled-in pictures from their vector sources at that ratio,
// in the background; resourcePicture() takes them from there.
void prepareScreenPictures();
// Calls back with a resource picture drawn at the screen's ratio once it is
// ready, when it is still being drawn; else never.
void whenSharp(const QString& resource, std::function<void(const QPixmap&)> then);

// Icon and cursor resources of the program, by number.
void registerCursorResource(int id, const QString& svg, QPoint hotSpot);
QCursor resourceCursor(int id);

// An icon with one image per size, rendered from one picture.
QIcon resourceIcon(const QString& name, std::initializer_list<int> sizes);

} // namespace forms
