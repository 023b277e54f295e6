#pragma once

#include "forms/Control.h"
#include "forms/Picture.h"
#include "forms/PropertyBag.h"
#include "forms/Surface.h"

namespace forms {

// A control drawn by the program: a persistent surface with a device
// context, a background picture that every clear brings back, text
// measured in its font, and pictures drawn scaled. It works in pixels of
// its surface. Its host gives it the window's settings store, the ambient
// font and the run-mode flag.
class UserControl : public Control {
public:
    UserControl(Form& form, Control* container, const QString& name, int index = -1);

    Surface& surface() { return surface_; }
    QPoint mousePixels(QPointF at) const override;
    Handle hDC() const { return surface_.hDC(); }

    void setBackColor(long colour) override;
    void setForeColor(long colour) override;
    void setFont(const QFont& font) override;
    // The background picture; setting it clears the surface.
    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);

    // The surface's size in pixels.
    int scaleWidth() const;
    int scaleHeight() const;
    void cls();
    void refresh();
    // Text size in pixels in the control's font.
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;
    // A picture (or a part of it) drawn over a rectangle, in pixels.
    void paintPicture(const Picture& picture, int x, int y, int width, int height, int srcX = 0, int srcY = 0,
                      int srcWidth = -1, int srcHeight = -1);

    // The settings stored with the window's design for this control.
    PropertyBag& storedProperties() { return stored_; }

    // The life cycle, called by the window: a new instance placed in the
    // designer, the stored settings read at each load, written when the
    // designer saves, the end at each unload.
    virtual void initProperties() {}
    virtual void readProperties(const PropertyBag&) {}
    virtual void writeProperties(PropertyBag&) {}
    virtual void terminate() {}

    // What the host gives.
    bool ambientUserMode() const;
    QFont ambientFont() const;
    // The host's changed-setting notice.
    void propertyChanged(const QString& name);

protected:
    void geometryChanged() override;

private:
    SurfaceView* view_;
    Surface surface_;
    Picture picture_;
    PropertyBag stored_;
};

// An item of a popup menu: a caption ("-" a separator) and its states.
class MenuItem : public Control {
public:
    MenuItem(Form& form, Control* container, const QString& name, int index = -1);
    MenuItem(const MenuItem& first, int index);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    bool checked() const { return checked_; }
    void setChecked(bool on) { checked_ = on; }

private:
    QString caption_;
    bool checked_ = false;
};

} // namespace forms
