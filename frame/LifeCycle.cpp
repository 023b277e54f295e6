#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Runtime.h"
#include "vb/Conversions.h"
#include "win32/Win32.h"

namespace frame {

namespace {
constexpr std::int32_t ButtonFace = static_cast<std::int32_t>(0x8000000F);

QFont bold(QFont f)
{
    f.setBold(true);
    return f;
}
} // namespace

bool SkinFrame::StyleBackColor(std::int32_t& colour) const
{
    switch (m_lBackColorStyle) {
    case BackButtonFace: colour = TranslateColor(ButtonFace); return true;
    case BackThemeFill: colour = TranslateColor(m_lFillColor); return true;
    case BackCustom: colour = TranslateColor(m_lCustomBackColor); return true;
    default: return false;
    }
}

void SkinFrame::UserControl_InitProperties()
{
    reportOnFailure("UserControl_InitProperties", [&] {
        forms::Form& f = parentForm();
        m_lCaptionHeight = 30;
        newInstanceSettings();
        m_sCaption = f.caption();
        m_bCloseButton = true;
        m_bChangeAllBackgrounds = false;
        m_bMoveable = f.moveable();
        SetThemeColor();
        m_bTallApplied = m_lStyle == StyleGripBar;
        setBackColor(TranslateColor(ButtonFace));
        setFont(bold(ambientFont()));
        f.setBorderStyle(0);
        f.setShowInTaskbar(true);
        f.setMaxButton(true);
        f.setMinButton(true);
        move(0, 0, f.scaleWidth(), f.scaleHeight());
        setAlign(1);
        BorderStyleSetup();
    });
}

void SkinFrame::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    reportOnFailure("UserControl_ReadProperties", [&] {
        forms::Form& f = form();
        readSettings(PropBag);
        m_sCaption = f.caption();
        m_frmParent = &f;
        // The controls placed in the frame keep their designed layout here
        // (they are not aligned below a title of height 0); they move only
        // where the title bar is not as tall as designed (below).
        m_bTallApplied = m_lStyle == StyleGripBar;
        SetThemeColor();
        if (std::int32_t colour = 0; StyleBackColor(colour))
            setBackColor(colour);
        setFont(bold(ambientFont()));
        TitleBarHeightSetup();
        FitControlsToTitle();
        move(0, 0, f.width(), f.height());
        m_rcRestore = {vb::toLong(f.left()), vb::toLong(f.top()), vb::toLong(f.width()), vb::toLong(f.height())};
        BorderStyleSetup();
        if (!ambientUserMode())
            return;
        m_bCanTrackLeave = true;
        m_bTrackInUser32 = IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32"));
        if (!m_bTrackInUser32 && !IsFunctionExported(QStringLiteral("_TrackMouseEvent"), QStringLiteral("Comctl32"))) {
            m_bCanTrackLeave = false;
            return;
        }
        Subclass_Start(hWnd());
        Subclass_AddMsg(hWnd(), win32::WM_MOUSEMOVE, WHEN_AFTER);
        Subclass_AddMsg(hWnd(), win32::WM_MOUSELEAVE, WHEN_AFTER);
        Subclass_Start(f.hWnd());
        Subclass_AddMsg(f.hWnd(), win32::WM_SETCURSOR, WHEN_AFTER);
        m_bMoveable = f.moveable();
        f.setBorderStyle(0);
    });
}

void SkinFrame::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    reportOnFailure("UserControl_WriteProperties", [&] { writeSettings(PropBag); });
}

void SkinFrame::UserControl_Terminate()
{
    Subclass_Shutdown();
    m_frmParent = nullptr;
}

void SkinFrame::Refresh()
{
    reportOnFailure("Refresh", [&] {
        if (std::int32_t colour = 0; m_bChangeAllBackgrounds && StyleBackColor(colour))
            setBackColor(colour);
        DrawTitleBarInitial();
        UserControl_Resize();
    });
}

// The setting changes --------------------------------------------------------
// All but Style and CustomBackColor handle nothing: a failing step passes
// its failure back to the designer, with the value stored.

void SkinFrame::setThemeColor(std::int32_t vData)
{
    if (vData == m_lThemeColor)
        return;
    m_lThemeColor = vData;
    SetThemeColor();
    Refresh();
    propertyChanged(QStringLiteral("ThemeColor"));
}

void SkinFrame::setStyle(std::int32_t vData)
{
    reportOnFailure("Let Style", [&] {
        if (vData == m_lStyle)
            return;
        m_lStyle = vData;
        Refresh();
        RelocateControls(true);
        propertyChanged(QStringLiteral("Style"));
    });
}

void SkinFrame::setBackColorStyle(std::int32_t vData)
{
    m_lBackColorStyle = vData;
    Refresh();
    propertyChanged(QStringLiteral("BackColorStyle"));
}

void SkinFrame::setMaxButton(bool vData)
{
    m_bMaxButton = vData;
    BorderStyleSetup();
    Refresh();
    propertyChanged(QStringLiteral("MaxButton"));
}

void SkinFrame::setMinButton(bool vData)
{
    m_bMinButton = vData;
    BorderStyleSetup();
    Refresh();
    propertyChanged(QStringLiteral("MinButton"));
}

void SkinFrame::setCloseButton(bool vData)
{
    m_bCloseButton = vData;
    BorderStyleSetup();
    propertyChanged(QStringLiteral("CloseButton"));
    Refresh();
}

void SkinFrame::setChangeAllBackgrounds(bool vData)
{
    m_bChangeAllBackgrounds = vData;
    propertyChanged(QStringLiteral("ChangeAllBackgrounds"));
    Refresh();
}

void SkinFrame::setBorderStyle(std::int32_t vData)
{
    m_lBorderStyle = vData;
    BorderStyleSetup();
    Refresh();
    propertyChanged(QStringLiteral("BorderStyle"));
}

void SkinFrame::setCustomBackColor(std::int32_t vData)
{
    reportOnFailure("Let CustomBackColor", [&] {
        m_lCustomBackColor = vData; // kept untranslated
        if (m_lBackColorStyle == BackCustom)
            Refresh();
        propertyChanged(QStringLiteral("CustomBackColor"));
    });
}

void SkinFrame::setColorFrom(std::int32_t new_ColorFrom)
{
    m_lColorFrom = TranslateColor(new_ColorFrom);
    if (m_lThemeColor == ThemeCustom)
        m_lFrameColor = m_lColorFrom;
    propertyChanged(QStringLiteral("ColorFrom"));
    Refresh();
}

void SkinFrame::setColorTo(std::int32_t new_ColorTo)
{
    m_lColorTo = TranslateColor(new_ColorTo);
    if (m_lThemeColor == ThemeCustom)
        m_lFillColor = m_lColorTo;
    propertyChanged(QStringLiteral("ColorTo"));
    Refresh();
}

void SkinFrame::setIconSize(std::int16_t new_IconSize)
{
    if (new_IconSize == m_iIconSize)
        return;
    m_iIconSize = new_IconSize;
    TitleBarHeightSetup();
    RelocateControls(false);
    Refresh();
    propertyChanged(QStringLiteral("IconSize"));
}

} // namespace frame
