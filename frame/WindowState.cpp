#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Runtime.h"
#include "forms/Screen.h"
#include "vb/Conversions.h"
#include "win32/Win32.h"

namespace frame {

using namespace win32;

void SkinFrame::ToggleWindowState()
{
    reportOnFailure("ToggleWindowState", [&] {
        forms::Form& f = parentForm();
        if (m_iWinState == 2) {
            m_iWinState = 0;
            MnuSyst(0).setEnabled(false);
            MnuSyst(2).setEnabled(true);
            MoveToRestoreBounds(f);
            return;
        }
        m_iWinState = 2;
        MnuSyst(0).setEnabled(true);
        MnuSyst(2).setEnabled(false);
        // The grips exist from the first move over the frame on.
        if (!m_picRight || !m_picBottom)
            vb::raise(vb::err::ObjectNotSet);
        m_picRight->setVisible(false);
        m_picBottom->setVisible(false);
        MaximizeToWorkArea(f);
    });
}

void SkinFrame::MaximizeToWorkArea(forms::Form& f)
{
    if (f.windowState() == 2)
        return;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    TB_GetDesktopWorkArea(left, top, width, height);
    MoveToWorkArea(f, left, top, width, height);
    m_picRight->setVisible(true);
    m_picBottom->setVisible(true);
}

// Where the compositor places the windows (Wayland), a window cannot move
// itself over the work area: the compositor's maximised state covers the
// output's work area instead, and the restore leaves it.
void SkinFrame::MoveToWorkArea(forms::Form& f, std::int32_t left, std::int32_t top, std::int32_t width,
                               std::int32_t height)
{
    if (!forms::windowsCanBePlaced()) {
        f.setCompositorMaximized(true);
        return;
    }
    // The window's pixels are coarser than the frame's at some scales: it
    // takes the largest area of its own that stays inside the work area.
    f.moveWithin(left, top, width, height);
}

void SkinFrame::MoveToRestoreBounds(forms::Form& f)
{
    if (!forms::windowsCanBePlaced())
        f.setCompositorMaximized(false);
    f.move(m_rcRestore.Left, m_rcRestore.Top, m_rcRestore.Width, m_rcRestore.Height);
}

void SkinFrame::TB_GetDesktopWorkArea(std::int32_t& Left, std::int32_t& Top, std::int32_t& Width, std::int32_t& Height)
{
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    const double tx = forms::twipsPerWholePixelX(), ty = forms::twipsPerWholePixelY();
    Left = vb::toLong(tx * r.left);
    Top = vb::toLong(ty * r.top);
    Width = vb::toLong(tx * (static_cast<double>(r.right) - r.left));
    Height = vb::toLong(ty * (static_cast<double>(r.bottom) - r.top));
}

void SkinFrame::ChangeBackgrounds(std::int32_t lColor)
{
    if (!m_bChangeAllBackgrounds)
        return;
    // Every step the platform refuses is passed over.
    for (forms::Control* c : parentForm().controls()) {
        if (c->backColor() == static_cast<long>(0x80000005))
            continue;
        if (auto* button = dynamic_cast<forms::CommandButton*>(c))
            vb::skipOnFailure([&] { button->setStyle(1); });
        if (c->name() == QLatin1String("m_picRight") || c->name() == QLatin1String("m_picBottom"))
            continue;
        if (dynamic_cast<forms::MenuItem*>(c))
            continue; // no back colour
        vb::skipOnFailure([&] { c->setBackColor(lColor); });
    }
}

namespace {
// The controls placed inside a frame control.
std::vector<forms::Control*> contained(const forms::Form& f)
{
    std::vector<forms::Control*> out;
    // The frame's own menu items are no controls placed in it.
    for (forms::Control* c : f.controls())
        if (dynamic_cast<SkinFrame*>(c->container()) && !dynamic_cast<forms::MenuItem*>(c))
            out.push_back(c);
    return out;
}
} // namespace

std::int16_t SkinFrame::GetControlsOffset(std::int16_t iMinTop)
{
    const double ty = forms::twipsPerWholePixelY();
    const std::vector<forms::Control*> inside = contained(parentForm());
    std::vector<double> tops;
    for (forms::Control* c : inside)
        vb::skipOnFailure([&] { tops.push_back(c->top() / ty); });
    std::int16_t off = 0;
    for (double t : tops)
        if (t < iMinTop && iMinTop - t > off)
            off = vb::toInteger(iMinTop - t);
    if (off != 0)
        return off;
    if (tops.empty())
        return 0;
    off = 1000;
    for (double t : tops)
        if (t - iMinTop < off)
            off = vb::toInteger(t - iMinTop);
    return static_cast<std::int16_t>(-off);
}

void SkinFrame::RelocateControls(bool bStyleChanged)
{
    const double ty = forms::twipsPerWholePixelY();
    double d = 0;
    if (bStyleChanged) {
        int k = 0;
        if (m_lStyle == StyleGripBar && !m_bTallApplied) {
            k = 1;
            m_bTallApplied = true;
        } else if (m_lStyle != StyleGripBar && m_bTallApplied) {
            k = -1;
            m_bTallApplied = false;
        }
        if (k == 0)
            return;
        d = 10.0 * k * ty;
    } else {
        std::int16_t off = 0;
        vb::skipOnFailure([&] { off = GetControlsOffset(vb::toInteger(static_cast<double>(m_lTitleHeight) + 20)); });
        d = off * ty;
    }
    ShiftContained(d);
}

void SkinFrame::FitControlsToTitle()
{
    const double d = static_cast<double>(m_lTitleHeight) * (forms::twipsPerWholePixelY() - forms::twipsPerPixelY());
    if (d != 0)
        ShiftContained(d);
}

void SkinFrame::ShiftContained(double d)
{
    forms::Form& f = parentForm();
    // A height the platform refuses is not applied; the controls move all
    // the same.
    if (m_iWinState == 2)
        vb::skipOnFailure([&] { m_rcRestore.Height = vb::toLong(m_rcRestore.Height + d); });
    else
        vb::skipOnFailure([&] {
            const double h = f.height() + d;
            if (h < 0)
                vb::raise(vb::err::InvalidPropertyValue);
            f.setHeight(static_cast<float>(h));
        });
    for (forms::Control* c : contained(f))
        vb::skipOnFailure([&] { c->setTop(static_cast<float>(c->top() + d)); });
}

} // namespace frame
