#include "forms/Controls.h"

#include "forms/Form.h"
#include "forms/Picture.h"
#include "forms/Runtime.h"
#include "forms/VirtualKey.h"
#include "vb/Failure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <cmath>

namespace forms {

// Label ---------------------------------------------------------------

Label::Label(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QLabel)
    , label_(static_cast<QLabel*>(widget()))
{
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setWordWrap(true);
    label_->setTextFormat(Qt::PlainText);
    label_->setAttribute(Qt::WA_TranslucentBackground);
    backColor_ = ButtonFace;
    applyColours();
}

void Label::setCaption(const QString& caption)
{
    caption_ = caption;
    // The program breaks lines with CR LF.
    label_->setText(QString(caption).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    fit();
}

void Label::setAutoSize(bool on)
{
    autoSize_ = on;
    label_->setWordWrap(!on);
    fit();
}

void Label::setFont(const QFont& font)
{
    Control::setFont(font);
    fit();
}

void Label::fit()
{
    if (!autoSize_)
        return;
    const QFontMetrics fm(label_->font());
    const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, label_->text());
    setGeometryTwips(left(), top(), toTwipsX(r.width()), toTwipsY(std::max(r.height(), fm.height())));
}

// Image ---------------------------------------------------------------

Image::Image(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QLabel)
    , label_(static_cast<QLabel*>(widget()))
{
    label_->setAttribute(Qt::WA_TranslucentBackground);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Image::setPicture(const Picture& picture)
{
    picture_ = picture;
    if (!stretch_ && !picture_.isNull())
        setGeometryTwips(left(), top(), picture_.width(), picture_.height());
    show();
    // The same picture, sharp on a scaled screen, once it has been drawn.
    const QString resource = picture_.resource();
    if (!resource.isEmpty())
        whenSharp(resource, [this, label = QPointer<QLabel>(label_), resource](const QPixmap& sharp) {
            if (!label || picture_.resource() != resource)
                return;
            picture_ = Picture(sharp, resource);
            show();
        });
}

void Image::setStretch(bool on)
{
    stretch_ = on;
    show();
}

void Image::move(float left, float top, float width, float height)
{
    // Without stretching the picture decides the size.
    if (!stretch_ && !picture_.isNull()) {
        width = picture_.width();
        height = picture_.height();
    }
    setGeometryTwips(left, top, width, height);
    show();
}

void Image::show()
{
    if (picture_.isNull()) {
        label_->clear();
        return;
    }
    if (stretch_) {
        // Stretched to the label's device pixels, not to its logical size.
        const qreal dpr = picture_.pixmap().devicePixelRatio();
        QPixmap p = picture_.pixmap().scaled((QSizeF(label_->size()) * dpr).toSize(), Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
        p.setDevicePixelRatio(dpr);
        label_->setPixmap(p);
    } else
        label_->setPixmap(picture_.pixmap());
}

// PictureBox ----------------------------------------------------------

void PictureBox::drawBorder(QPainter& p) const
{
    if (borderStyle_ != 1)
        return;
    // Whole device pixels, the same number on each side: a 1-pixel pen
    // scaled by a fractional ratio would come out 1 or 2 pixels wide.
    const qreal dpr = view_->devicePixelRatioF();
    const int n = std::max(1, static_cast<int>(std::lround(dpr)));
    const int w = static_cast<int>(std::ceil(view_->width() * dpr)),
              h = static_cast<int>(std::ceil(view_->height() * dpr));
    p.save();
    p.resetTransform();
    p.scale(1 / dpr, 1 / dpr);
    const QColor c(100, 100, 100);
    p.fillRect(0, 0, w, n, c);
    p.fillRect(0, h - n, w, n, c);
    p.fillRect(0, 0, n, h, c);
    p.fillRect(w - n, 0, n, h, c);
    p.restore();
}

PictureBox::PictureBox(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new SurfaceView)
    , view_(static_cast<SurfaceView*>(widget()))
    , surface_(view_)
{
    view_->setSurface(&surface_);
    view_->paintOver = [this](QPainter& p) { drawBorder(p); };
    backColor_ = ButtonFace;
    foreColor_ = WindowText;
    surface_.setBackColor(toQColor(backColor_));
}

PictureBox::PictureBox(const PictureBox& first, int index)
    : Control(first.form(), first.container(), first.name(), index, new SurfaceView)
    , view_(static_cast<SurfaceView*>(widget()))
    , surface_(view_)
{
    view_->setSurface(&surface_);
    view_->paintOver = [this](QPainter& p) { drawBorder(p); };
    borderStyle_ = first.borderStyle_;
    copyFrom(first);
    surface_.setBackColor(toQColor(backColor_));
    surface_.resize(view_->size());
}

void PictureBox::setBackColor(long colour)
{
    const QColor c = toQColor(colour);
    Control::setBackColor(colour);
    surface_.setBackColor(c);
    cls();
}

void PictureBox::geometryChanged()
{
    surface_.resize(view_->size());
}

void PictureBox::setBorderStyle(int style)
{
    borderStyle_ = style;
    view_->update();
}

void PictureBox::refresh()
{
    surface_.refresh();
}

void PictureBox::cls()
{
    surface_.clear();
    currentX = 0;
    currentY = 0;
}

void PictureBox::print(const QString& text)
{
    const QFontMetrics fm(font());
    surface_.drawText(font(), toQColor(foreColor_), QPoint(toPixelsX(currentX), toPixelsY(currentY)), text);
    currentX = 0;
    currentY += toTwipsY(fm.height());
    surface_.refresh();
}

float PictureBox::textWidth(const QString& text) const
{
    return toTwipsX(QFontMetrics(font()).horizontalAdvance(text));
}

float PictureBox::textHeight(const QString&) const
{
    return toTwipsY(QFontMetrics(font()).height());
}

// Frame ---------------------------------------------------------------

class Frame::View : public QWidget {
public:
    explicit View(Frame* owner = nullptr) : owner_(owner) { setAutoFillBackground(true); }
    void setOwner(Frame* owner) { owner_ = owner; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!owner_ || owner_->borderStyle_ == 0)
            return;
        QPainter p(this);
        const QFontMetrics fm(font());
        const int mid = fm.height() / 2;
        p.setPen(QColor(160, 160, 160));
        p.drawRect(QRect(0, mid, width() - 1, height() - mid - 1));
        if (!owner_->caption_.isEmpty()) {
            const int w = fm.horizontalAdvance(owner_->caption_);
            p.fillRect(QRect(6, 0, w + 6, fm.height()), toQColor(owner_->backColor_));
            p.setPen(toQColor(owner_->foreColor_));
            p.drawText(QRect(9, 0, w + 2, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, owner_->caption_);
        }
    }

private:
    Frame* owner_;
};

Frame::Frame(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new View)
    , view_(static_cast<View*>(widget()))
{
    view_->setOwner(this);
    backColor_ = 0xFFFFFF;
    applyColours();
}

void Frame::setCaption(const QString& caption)
{
    caption_ = caption;
    view_->update();
}

void Frame::setBorderStyle(int style)
{
    borderStyle_ = style;
    view_->update();
}

void Frame::setBackColor(long colour)
{
    Control::setBackColor(colour);
    view_->update();
}

void Frame::setForeColor(long colour)
{
    Control::setForeColor(colour);
    view_->update();
}

// CheckBox ------------------------------------------------------------

CheckBox::CheckBox(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QCheckBox)
    , box_(static_cast<QCheckBox*>(widget()))
{
    clickOnRelease_ = false;
    widgetTakesInput_ = true;
    widgetTakesDblClick_ = false;
    box_->setAutoFillBackground(true);
    applyColours();
    QObject::connect(box_, &QCheckBox::clicked, this, [this] { fireEvent(onClick); });
}

CheckBox::CheckBox(const CheckBox& first, int index) : CheckBox(first.form(), first.container(), first.name(), index)
{
    copyFrom(first);
    box_->setText(first.caption());
}

QString CheckBox::caption() const
{
    return box_->text();
}

void CheckBox::setCaption(const QString& caption)
{
    box_->setText(caption);
}

int CheckBox::value() const
{
    return box_->isChecked() ? 1 : 0;
}

void CheckBox::setValue(int value)
{
    box_->setChecked(value == 1);
}

// ComboBox ------------------------------------------------------------

ComboBox::ComboBox(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QComboBox)
    , combo_(static_cast<QComboBox*>(widget()))
{
    clickOnRelease_ = false;
    widgetTakesInput_ = true;
    backColor_ = WindowBackground;
    foreColor_ = WindowText;
    applyColours();
    QObject::connect(combo_, QOverload<int>::of(&QComboBox::activated), this, [this](int) { fireEvent(onClick); });
}

void ComboBox::addItem(const QString& item)
{
    combo_->addItem(item);
}

int ComboBox::listIndex() const
{
    return combo_->currentIndex();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= combo_->count())
        vb::raise(vb::err::InvalidPropertyValue);
    combo_->setCurrentIndex(index);
}

QString ComboBox::text() const
{
    return combo_->currentText();
}

void ComboBox::move(float left, float top, float width, float)
{
    // A drop-down list's height follows its font.
    setGeometryTwips(left, top, width, toTwipsY(combo_->sizeHint().height()));
}

// CommandButton -------------------------------------------------------

CommandButton::CommandButton(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QPushButton)
    , button_(static_cast<QPushButton*>(widget()))
{
    clickOnRelease_ = false;
    widgetTakesInput_ = true;
    widgetTakesDblClick_ = false;
    backColor_ = ButtonFace;
    applyColours();
    QObject::connect(button_, &QPushButton::clicked, this, [this] { fireEvent(onClick); });
}

qintptr CommandButton::defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam)
{
    // Return clicks a focused button as it goes down; Space clicks it as it
    // comes up, which the widget does itself.
    if (msg != wm::KeyDown || wParam != vk::Return)
        return Control::defaultProcedure(msg, wParam, lParam);
    int code = vk::Return;
    if (onKeyDown)
        fireEvent([&] { onKeyDown(code, keyShift()); });
    if (code != 0)
        button_->click();
    return 0;
}

QString CommandButton::caption() const
{
    return button_->text();
}

void CommandButton::setCaption(const QString& caption)
{
    button_->setText(caption);
}

// TextBox -------------------------------------------------------------

TextBox::TextBox(Form& form, Control* container, const QString& name, int index)
    : Control(form, container, name, index, new QLineEdit)
    , edit_(static_cast<QLineEdit*>(widget()))
{
    clickOnRelease_ = false;
    widgetTakesInput_ = true;
    backColor_ = WindowBackground;
    foreColor_ = WindowText;
    applyColours();
    QObject::connect(edit_, &QLineEdit::textChanged, this, [this] { fireEvent(onChange); });
}

QString TextBox::text() const
{
    return edit_->text();
}

void TextBox::setText(const QString& text)
{
    // textChanged, and with it the change event, runs inside this call.
    edit_->setText(text);
}

void TextBox::setAlignment(int alignment)
{
    edit_->setAlignment(alignment == 2 ? Qt::AlignCenter : alignment == 1 ? Qt::AlignRight : Qt::AlignLeft);
}

qintptr TextBox::defaultProcedure(unsigned msg, quintptr wParam, qintptr lParam)
{
    if (msg != wm::Char)
        return Control::defaultProcedure(msg, wParam, lParam);
    int ascii = static_cast<int>(wParam);
    if (onKeyPress)
        fireEvent([&] { onKeyPress(ascii); });
    if (ascii == 0)
        return 0; // discarded
    if (ascii != static_cast<int>(wParam) && ascii >= 32) {
        edit_->insert(QString(QChar(ascii)));
        return 0;
    }
    passToWidget();
    return 0;
}

} // namespace forms
