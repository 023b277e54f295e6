#include "frame/SkinFrame.h"

#include "forms/Runtime.h"
#include "vb/Conversions.h"

#include <QCursor>
#include <QPainter>
#include <QSvgRenderer>
#include <cstring>

namespace frame {

namespace {
// As a Long holds it: a CustomBackColor set to the button face equals its
// write default and is not written.
constexpr std::int64_t ButtonFace = static_cast<std::int32_t>(0x8000000F);
SkinFrame::ErrorObserver& observer()
{
    static SkinFrame::ErrorObserver o;
    return o;
}
} // namespace

const std::array<FrameSetting, 12> FrameSettings = {{
    {"ThemeColor", FrameSetting::Long, 0, 6, 6},
    {"ColorFrom", FrameSetting::Long, 0x404080, 0x404080, 0x404080},
    {"ColorTo", FrameSetting::Long, 0xC0E0FF, 0xC0E0FF, 0xC0E0FF},
    {"BackColorStyle", FrameSetting::Long, 0, 0, 0},
    {"BorderStyle", FrameSetting::Long, 1, 1, 1},
    {"CloseButton", FrameSetting::Boolean, -1, -1, -1},
    {"MaxButton", FrameSetting::Boolean, -1, -1, -1},
    {"MinButton", FrameSetting::Boolean, -1, -1, -1},
    {"CustomBackColor", FrameSetting::Long, ButtonFace, ButtonFace, ButtonFace},
    {"Style", FrameSetting::Long, 0, 0, 0},
    {"IconSize", FrameSetting::Integer, 16, 16, 16},
    {"ChangeAllBackgrounds", FrameSetting::Boolean, 0, 0, 0},
}};

SkinFrame::SkinFrame(forms::Form& form, forms::Control* container, const QString& name)
    : UserControl(form, container, name)
{
    // As designed: white.
    setBackColor(0xFFFFFF);
    buildMenu();
    wireEvents();
}

void SkinFrame::wireEvents()
{
    auto mouse = [this](void (SkinFrame::*handler)(std::int16_t&, std::int16_t&, float&, float&)) {
        return [this, handler](int button, int shift, float x, float y) {
            auto b = static_cast<std::int16_t>(button);
            auto s = static_cast<std::int16_t>(shift);
            (this->*handler)(b, s, x, y);
        };
    };
    onClick = [this] { UserControl_Click(); };
    onDblClick = [this] { UserControl_DblClick(); };
    onMouseDown = mouse(&SkinFrame::UserControl_MouseDown);
    onMouseMove = mouse(&SkinFrame::UserControl_MouseMove);
    onMouseUp = mouse(&SkinFrame::UserControl_MouseUp);
    onKeyDown = [this](int& code, int shift) {
        auto c = static_cast<std::int16_t>(code);
        auto s = static_cast<std::int16_t>(shift);
        UserControl_KeyDown(c, s);
    };
    onResize = [this] { UserControl_Resize(); };
    MnuSyst.onClick = [this](int index) { MnuSyst_Click(static_cast<std::int16_t>(index)); };
}

void SkinFrame::buildMenu()
{
    struct Item {
        const char* caption;
        bool enabled;
    } const items[] = {
        {"Restore       ", false},
        {"Minimize", true},
        {"Maximize", true},
        {"-", true},
        {"Close            Alt+F4", true},
        {"-", true},
        {"Always on Top", true},
    };
    for (int i = 0; i < 7; ++i) {
        auto& item = MnuSyst.add(new forms::MenuItem(form(), this, QStringLiteral("MnuSyst"), i));
        item.setCaption(QString::fromLatin1(items[i].caption));
        item.setEnabled(items[i].enabled);
        item.setChecked(false);
    }
}

void SkinFrame::ShowHand()
{
    // The frame's own mouse icon, drawn the first time a caption button
    // lights rather than at every start.
    static const QCursor hand = [] {
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer svg(QStringLiteral(":/frame/frame_hand.svg"));
        QPainter p(&image);
        svg.render(&p);
        p.end();
        return QCursor(QPixmap::fromImage(image), 12, 1);
    }();
    if (!handSet_) {
        setMouseIcon(hand);
        handSet_ = true;
    }
    setMousePointer(99);
}

void SkinFrame::ReportError(bool, const QString& number, const QString& description, const QString&,
                            const QString& procedure)
{
    if (observer())
        observer()(procedure, number, description);
}

void SkinFrame::setErrorObserver(ErrorObserver o)
{
    observer() = std::move(o);
}

// Settings ----------------------------------------------------------------

std::int64_t SkinFrame::setting(const char* key) const
{
    auto is = [key](const char* k) { return std::strcmp(key, k) == 0; };
    auto flag = [](bool b) -> std::int64_t { return b ? -1 : 0; };
    if (is("ThemeColor"))
        return m_lThemeColor;
    if (is("ColorFrom"))
        return m_lColorFrom;
    if (is("ColorTo"))
        return m_lColorTo;
    if (is("BackColorStyle"))
        return m_lBackColorStyle;
    if (is("BorderStyle"))
        return m_lBorderStyle;
    if (is("CloseButton"))
        return flag(m_bCloseButton);
    if (is("MaxButton"))
        return flag(m_bMaxButton);
    if (is("MinButton"))
        return flag(m_bMinButton);
    if (is("CustomBackColor"))
        return m_lCustomBackColor;
    if (is("Style"))
        return m_lStyle;
    if (is("IconSize"))
        return m_iIconSize;
    if (is("ChangeAllBackgrounds"))
        return flag(m_bChangeAllBackgrounds);
    vb::raise(vb::err::NoSuchProperty);
}

void SkinFrame::setSetting(const char* key, std::int64_t v)
{
    auto is = [key](const char* k) { return std::strcmp(key, k) == 0; };
    const auto l = static_cast<std::int32_t>(v);
    if (is("ThemeColor"))
        m_lThemeColor = l;
    else if (is("ColorFrom"))
        m_lColorFrom = l;
    else if (is("ColorTo"))
        m_lColorTo = l;
    else if (is("BackColorStyle"))
        m_lBackColorStyle = l;
    else if (is("BorderStyle"))
        m_lBorderStyle = l;
    else if (is("CloseButton"))
        m_bCloseButton = v != 0;
    else if (is("MaxButton"))
        m_bMaxButton = v != 0;
    else if (is("MinButton"))
        m_bMinButton = v != 0;
    else if (is("CustomBackColor"))
        m_lCustomBackColor = l;
    else if (is("Style"))
        m_lStyle = l;
    else if (is("IconSize"))
        m_iIconSize = static_cast<std::int16_t>(v);
    else if (is("ChangeAllBackgrounds"))
        m_bChangeAllBackgrounds = v != 0;
    else
        vb::raise(vb::err::NoSuchProperty);
}

namespace {

vb::Variant typed(const FrameSetting& s, std::int64_t v)
{
    return s.kind == FrameSetting::Boolean ? vb::Variant(v != 0) : vb::Variant(v);
}

// A stored value as its setting's type, as the runtime converts it.
std::int64_t convert(const FrameSetting& s, const vb::Variant& v)
{
    using T = vb::Variant::Type;
    if (v.type() == T::Null || v.type() == T::Empty)
        vb::raise(vb::err::TypeMismatch);
    if (s.kind == FrameSetting::Boolean) {
        if (v.type() == T::Boolean)
            return v == vb::Variant(true) ? -1 : 0;
        if (v.type() == T::String) {
            const QString t = v.toString().trimmed();
            if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return -1;
            if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        return v.toDouble() != 0 ? -1 : 0;
    }
    const double d = v.type() == T::Boolean ? (v == vb::Variant(true) ? -1.0 : 0.0) : v.toDouble();
    return s.kind == FrameSetting::Integer ? vb::toInteger(d) : vb::toLong(d);
}

} // namespace

void SkinFrame::readSettings(const forms::PropertyBag& store)
{
    for (const FrameSetting& s : FrameSettings) {
        const std::int64_t def = s.readDefault == ButtonFace ? TranslateColor(static_cast<std::int32_t>(ButtonFace))
                                                             : s.readDefault;
        setSetting(s.key, convert(s, store.readProperty(QString::fromLatin1(s.key), typed(s, def))));
    }
}

void SkinFrame::writeSettings(forms::PropertyBag& store) const
{
    for (const FrameSetting& s : FrameSettings)
        store.writeProperty(QString::fromLatin1(s.key), typed(s, setting(s.key)), typed(s, s.writeDefault));
}

void SkinFrame::newInstanceSettings()
{
    for (const FrameSetting& s : FrameSettings)
        setSetting(s.key, s.newInstance == ButtonFace ? TranslateColor(static_cast<std::int32_t>(ButtonFace))
                                                      : s.newInstance);
}

} // namespace frame
