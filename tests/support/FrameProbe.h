#pragma once

#include "frame/SkinFrame.h"

#include <QString>
#include <cstdint>

namespace testsupport {

// What the tests see of a frame's state: every member, read-only, under its
// own name. Tests arrange their cases through what the frame does (its
// stored settings, its operations, the mouse, the window); the few
// situations nothing the frame does can reach have their arranging
// functions below, each named after the situation it stands for.
class FrameProbe {
public:
    explicit FrameProbe(const frame::SkinFrame& f) : f_(f) {}

    bool m_bCanTrackLeave() const { return f_.m_bCanTrackLeave; }
    bool m_bTrackInUser32() const { return f_.m_bTrackInUser32; }
    bool m_bMouseInside() const { return f_.m_bMouseInside; }
    const frame::HookTable& m_aHooks() const { return f_.m_aHooks; }
    std::int32_t m_lCaptionHeight() const { return f_.m_lCaptionHeight; }
    std::int32_t m_lTitleHeight() const { return f_.m_lTitleHeight; }
    const QString& m_sCaption() const { return f_.m_sCaption; }
    std::int32_t m_lBtnTop() const { return f_.m_lBtnTop; }
    const forms::Picture& m_picIcon() const { return f_.m_picIcon; }
    std::int32_t m_lThemeColor() const { return f_.m_lThemeColor; }
    const QString& m_sThemeName() const { return f_.m_sThemeName; }
    std::int32_t m_lStyle() const { return f_.m_lStyle; }
    std::int16_t m_iSizeMode() const { return f_.m_iSizeMode; }
    std::int16_t m_iWinState() const { return f_.m_iWinState; }
    const frame::SkinFrame::RectL& m_rcRestore() const { return f_.m_rcRestore; }
    std::int32_t m_lTitleStartX() const { return f_.m_lTitleStartX; }
    std::int16_t m_iHotBtn() const { return f_.m_iHotBtn; }
    std::int16_t m_iLitBtn() const { return f_.m_iLitBtn; }
    bool m_bOverTitle() const { return f_.m_bOverTitle; }
    std::int32_t m_lCustomBackColor() const { return f_.m_lCustomBackColor; }
    std::int32_t m_lBackColorStyle() const { return f_.m_lBackColorStyle; }
    std::int32_t m_lBorderStyle() const { return f_.m_lBorderStyle; }
    bool m_bMaxButton() const { return f_.m_bMaxButton; }
    bool m_bMinButton() const { return f_.m_bMinButton; }
    std::int16_t m_iIconSize() const { return f_.m_iIconSize; }
    std::int16_t m_iLeftBtn() const { return f_.m_iLeftBtn; }
    std::int32_t m_lFrameColor() const { return f_.m_lFrameColor; }
    std::int32_t m_lFillColor() const { return f_.m_lFillColor; }
    std::int32_t m_lColorFrom() const { return f_.m_lColorFrom; }
    std::int32_t m_lColorTo() const { return f_.m_lColorTo; }
    bool m_bTallApplied() const { return f_.m_bTallApplied; }
    forms::Form* m_frmParent() const { return f_.m_frmParent; }
    const std::array<frame::SkinFrame::CapBtnEntry, 3>& m_aCapBtn() const { return f_.m_aCapBtn; }
    std::int16_t m_iDownButton() const { return f_.m_iDownButton; }
    bool m_bGripsMade() const { return f_.m_bGripsMade; }
    bool m_bCloseButton() const { return f_.m_bCloseButton; }
    bool m_bMoveable() const { return f_.m_bMoveable; }
    bool m_bChangeAllBackgrounds() const { return f_.m_bChangeAllBackgrounds; }
    forms::PictureBox* m_picRight() const { return f_.m_picRight; }
    forms::PictureBox* m_picBottom() const { return f_.m_picBottom; }

    // As if the window were in this state (2 pseudo-maximised, 0 normal)
    // without its having moved: what the frame draws or records for the
    // state, apart from the move to or from the work area.
    static void asIfWindowState(frame::SkinFrame& f, std::int16_t state);
    // As if the frame had last recorded these normal-state bounds (twips);
    // a marker no real window has, to show that nothing records over it.
    static void asIfNormalBoundsWere(frame::SkinFrame& f, const frame::SkinFrame::RectL& bounds);
    // As if the frame had read this caption from its window at its load,
    // on a frame the test sized by hand instead of through the load.
    static void asIfCaptionRead(frame::SkinFrame& f, const QString& caption);
    // As if a caption button had been hidden after the layout, the others
    // left in their places (the frame itself always lays them out again).
    static void asIfButtonHiddenInPlace(frame::SkinFrame& f, std::size_t index);

private:
    const frame::SkinFrame& f_;
};

// The probe of a frame: `peek(f).m_iWinState()`.
inline FrameProbe peek(const frame::SkinFrame& f)
{
    return FrameProbe(f);
}

} // namespace testsupport
