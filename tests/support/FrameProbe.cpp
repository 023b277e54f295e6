#include "FrameProbe.h"

namespace testsupport {

void FrameProbe::asIfWindowState(frame::SkinFrame& f, std::int16_t state)
{
    f.m_iWinState = state;
}

void FrameProbe::asIfNormalBoundsWere(frame::SkinFrame& f, const frame::SkinFrame::RectL& bounds)
{
    f.m_rcRestore = bounds;
}

void FrameProbe::asIfCaptionRead(frame::SkinFrame& f, const QString& caption)
{
    f.m_sCaption = caption;
}

void FrameProbe::asIfButtonHiddenInPlace(frame::SkinFrame& f, std::size_t index)
{
    f.m_aCapBtn.at(index).Visible = false;
}

} // namespace testsupport
