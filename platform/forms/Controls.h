#pragma once

#include "forms/Control.h"
#include "forms/Picture.h"
#include "forms/Surface.h"

#include <QImage>
#include <QStringList>

class QLabel;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace forms {

// Transparent text; sized to its text (AutoSize) or wrapping at its width.
class Label : public Control {
public:
    Label(Form& form, Control* container, const QString& name, int index = -1);
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    void setFont(const QFont& font) override;

private:
    void fit();
    QLabel* label_;
    QString caption_;
    bool autoSize_ = false;
};

// A picture at its own size, or stretched to the control; clickable with
// or without a picture.
class Image : public Control {
public:
    Image(Form& form, Control* container, const QString& name, int index = -1);
    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);
    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    void move(float left, float top, float width, float height) override;

private:
    void show();
    QLabel* label_;
    Picture picture_;
    bool stretch_ = false;
};

// A surface with a persistent image: what is drawn stays until a new back
// colour clears it. Text is printed at the current drawing position.
class PictureBox : public Control {
public:
    PictureBox(Form& form, Control* container, const QString& name, int index = -1);
    // A loaded control-array element: a hidden copy of the first.
    PictureBox(const PictureBox& first, int index);

    void setBackColor(long colour) override;
    // 0 none, 1 a single line around the surface.
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    // 1 twips, 3 pixels: the unit of its mouse positions.
    int scaleMode() const { return pixelScale_ ? 3 : 1; }
    void setScaleMode(int mode) { pixelScale_ = mode == 3; }
    // The persistent image (null until the box has a size).
    QImage& surface() { return surface_.image(); }
    Surface& drawing() { return surface_; }
    void refresh();
    void cls();

    float currentX = 0, currentY = 0; // twips
    void print(const QString& text);
    float textWidth(const QString& text) const;
    float textHeight(const QString& text) const;

protected:
    void geometryChanged() override;

private:
    void drawBorder(QPainter& p) const;
    SurfaceView* view_;
    Surface surface_;
    int borderStyle_ = 1;
};

// A container, white unless told otherwise; with a border it draws its
// caption in the top line.
class Frame : public Control {
public:
    Frame(Form& form, Control* container, const QString& name, int index = -1);
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    void setBackColor(long colour) override;
    void setForeColor(long colour) override;

private:
    class View;
    View* view_;
    QString caption_;
    int borderStyle_ = 0;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, Control* container, const QString& name, int index = -1);
    CheckBox(const CheckBox& first, int index);
    QString caption() const;
    void setCaption(const QString& caption);
    // 0 not ticked, 1 ticked.
    int value() const;
    void setValue(int value);

private:
    QCheckBox* box_;
};

// A drop-down list (style 2).
class ComboBox : public Control {
public:
    ComboBox(Form& form, Control* container, const QString& name, int index = -1);
    void addItem(const QString& item);
    int listIndex() const;
    void setListIndex(int index);
    QString text() const;
    void move(float left, float top, float width, float height) override;

private:
    QComboBox* combo_;
};

// A push button (graphical style: its back colour shows).
class CommandButton : public Control {
public:
    CommandButton(Form& form, Control* container, const QString& name, int index = -1);
    QString caption() const;
    void setCaption(const QString& caption);
    // 0 standard, 1 graphical: a button shows its back colour either way.
    int style() const { return style_; }
    void setStyle(int style) { style_ = style; }

    qintptr defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam) override;

private:
    QPushButton* button_;
    int style_ = 1;
};

// A one-line text box. Its change event runs inside the write that changes
// the text; its key event sees each typed character and can discard it by
// setting it to 0.
class TextBox : public Control {
public:
    TextBox(Form& form, Control* container, const QString& name, int index = -1);
    QString text() const;
    void setText(const QString& text);
    // 0 left, 1 right, 2 centred.
    void setAlignment(int alignment);

    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;

    qintptr defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam) override;

private:
    QLineEdit* edit_;
};

} // namespace forms
