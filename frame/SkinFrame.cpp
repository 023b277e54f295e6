#include "frame/SkinFrame.h"

#include "forms/Runtime.h"
#include "vb/Conversions.h"

#include <QCursor>
#include <type_traits>

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

const std::array<FrameSetting, 12> SkinFrame::FrameSettings = {{
    {"ThemeColor", &SkinFrame::m_lThemeColor, 0, 6, 6},
    {"ColorFrom", &SkinFrame::m_lColorFrom, 0x404080, 0x404080, 0x404080},
    {"ColorTo", &SkinFrame::m_lColorTo, 0xC0E0FF, 0xC0E0FF, 0xC0E0FF},
    {"BackColorStyle", &SkinFrame::m_lBackColorStyle, 0, 0, 0},
    {"BorderStyle", &SkinFrame::m_lBorderStyle, 1, 1, 1},
    {"CloseButton", &SkinFrame::m_bCloseButton, -1, -1, -1},
    {"MaxButton", &SkinFrame::m_bMaxButton, -1, -1, -1},
    {"MinButton", &SkinFrame::m_bMinButton, -1, -1, -1},
    {"CustomBackColor", &SkinFrame::m_lCustomBackColor, ButtonFace, ButtonFace, ButtonFace},
    {"Style", &SkinFrame::m_lStyle, 0, 0, 0},
    {"IconSize", &SkinFrame::m_iIconSize, 16, 16, 16},
    {"ChangeAllBackgrounds", &SkinFrame::m_bChangeAllBackgrounds, 0, 0, 0},
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
    auto routed = [this](int kind) {
        return [this, kind](int button, int shift, float x, float y) {
            auto b = static_cast<std::int16_t>(button);
            auto s = static_cast<std::int16_t>(shift);
            RouteMouse(kind, b, s, x, y);
        };
    };
    onClick = [this] { UserControl_Click(); };
    onDblClick = [this] { UserControl_DblClick(); };
    onMouseDown = routed(0);
    onMouseMove = routed(1);
    onMouseUp = routed(2);
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
        {"Restore       ", false},         {"Minimize", true}, {"Maximize", true},      {"-", true},
        {"Close            Alt+F4", true}, {"-", true},        {"Always on Top", true},
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
    // The frame's own mouse icon, among the program's cursor resources
    // under a number of its own; drawn the first time a caption button
    // lights rather than at every start.
    constexpr int FrameHandCursor = 30001;
    static const QCursor hand = [] {
        forms::registerCursorResource(FrameHandCursor, QStringLiteral(":/frame/frame_hand.svg"), QPoint(12, 1));
        return forms::resourceCursor(FrameHandCursor);
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

std::int64_t SkinFrame::setting(const FrameSetting& s) const
{
    return std::visit(
        [this](auto member) -> std::int64_t {
            const auto value = this->*member;
            if constexpr (std::is_same_v<decltype(value), const bool>)
                return value ? -1 : 0;
            else
                return value;
        },
        s.member);
}

void SkinFrame::setSetting(const FrameSetting& s, std::int64_t v)
{
    std::visit(
        [this, v](auto member) {
            auto& value = this->*member;
            using T = std::remove_reference_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>)
                value = v != 0;
            else
                value = static_cast<T>(v);
        },
        s.member);
}

namespace {

vb::Variant typed(const FrameSetting& s, std::int64_t v)
{
    return s.kind() == FrameSetting::Boolean ? vb::Variant(v != 0) : vb::Variant(v);
}

// A stored value as its setting's type, as the runtime converts it.
std::int64_t convert(const FrameSetting& s, const vb::Variant& v)
{
    using T = vb::Variant::Type;
    if (v.type() == T::Null || v.type() == T::Empty)
        vb::raise(vb::err::TypeMismatch);
    if (s.kind() == FrameSetting::Boolean) {
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
    return s.kind() == FrameSetting::Integer ? vb::toInteger(d) : vb::toLong(d);
}

} // namespace

void SkinFrame::readSettings(const forms::PropertyBag& store)
{
    for (const FrameSetting& s : FrameSettings) {
        const std::int64_t def =
            s.readDefault == ButtonFace ? TranslateColor(static_cast<std::int32_t>(ButtonFace)) : s.readDefault;
        setSetting(s, convert(s, store.readProperty(QString::fromLatin1(s.key), typed(s, def))));
    }
}

void SkinFrame::writeSettings(forms::PropertyBag& store) const
{
    for (const FrameSetting& s : FrameSettings)
        store.writeProperty(QString::fromLatin1(s.key), typed(s, setting(s)), typed(s, s.writeDefault));
}

void SkinFrame::newInstanceSettings()
{
    for (const FrameSetting& s : FrameSettings)
        setSetting(s,
                   s.newInstance == ButtonFace ? TranslateColor(static_cast<std::int32_t>(ButtonFace)) : s.newInstance);
}

} // namespace frame
