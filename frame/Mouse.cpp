#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Runtime.h"
#include "vb/Conversions.h"
#include "win32/Win32.h"

#include <QCursor>
#include <QWidget>

namespace frame {

using namespace win32;

void SkinFrame::UserControl_Click()
{
    if (Click)
        Click();
}

void SkinFrame::UserControl_DblClick()
{
    reportOnFailure("UserControl_DblClick", [&] {
        if (!m_aCapBtn[1].Visible)
            return;
        if (m_iDownButton == 1 && m_bOverTitle)
            ToggleWindowState();
        if (DblClick)
            DblClick();
        m_iDownButton = 0;
    });
}

void SkinFrame::UserControl_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift)
{
    reportOnFailure("UserControl_KeyDown", [&] {
        // Alt+F4, whatever else is held.
        if (m_aCapBtn[0].Visible && KeyCode == 115 && (Shift & 4))
            parentForm().unload();
    });
}

void SkinFrame::PopupSysMnu(bool atPointer, QPoint at)
{
    std::vector<const forms::MenuItem*> items;
    for (int i = 0; i <= MnuSyst.ubound(); ++i)
        if (MnuSyst.exists(i))
            items.push_back(&MnuSyst(i));
    QWidget* w = widget();
    // A point of the frame's pixels, on the screen in the window's.
    const qreal perPixel = w ? forms::wholePixelScale(w->devicePixelRatioF()) / w->devicePixelRatioF() : 1.0;
    const QPoint global = atPointer || !w ? QCursor::pos() : w->mapToGlobal(QPointF(at) * perPixel).toPoint();
    if (const forms::MenuItem* chosen = forms::popupMenu(w, items, &MnuSyst(4), global))
        MnuSyst_Click(static_cast<std::int16_t>(chosen->index()));
}

bool SkinFrame::LeftOfButtons(float x) const
{
    const CapBtnEntry& leftmost = m_aCapBtn.at(static_cast<std::size_t>(m_iLeftBtn));
    return !leftmost.Visible || x < leftmost.Left;
}

void SkinFrame::UserControl_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    reportOnFailure("UserControl_MouseDown", [&] {
        m_iDownButton = Button;
        if (Button == 1 && y < m_lTitleHeight && 2 < X && X < m_iIconSize + 8)
            PopupSysMnu(false, QPoint(3, m_lTitleHeight));
        if (MouseDown)
            MouseDown(Button, Shift, X, y);
    });
}

void SkinFrame::UserControl_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    reportOnFailure("UserControl_MouseMove", [&] {
        if (MouseMove)
            MouseMove(Button, Shift, X, y);
        if (!m_bGripsMade)
            MakeGrips();
        m_iHotBtn = HitTestCaptionBtn(vb::toInteger(X), vb::toInteger(y));
        if (m_iHotBtn != -1) {
            if (m_iLitBtn != m_iHotBtn) {
                DrawCaptionBtns(false, m_lFrameColor, m_iLitBtn);
                DrawCaptionBtns(true, m_lFrameColor, m_iHotBtn);
                ShowHand();
                m_iLitBtn = m_iHotBtn;
            }
            return;
        }
        if (m_iLitBtn != -1) {
            setMousePointer(0);
            DrawCaptionBtns(false, m_lFrameColor, m_iLitBtn);
            m_iLitBtn = -1;
        }
        m_bOverTitle = y < m_lTitleHeight;
        if (m_iWinState == 2)
            return;
        forms::Form& f = parentForm();
        if (Button != 1) {
            m_picRight->setMousePointer(0);
            m_picBottom->setMousePointer(0);
            return;
        }
        const float tx = forms::twipsPerWholePixelX(), ty = forms::twipsPerWholePixelY();
        if (m_iSizeMode > 0) {
            if (X < 130) {
                X = 130;
                m_picRight->setMousePointer(0);
            }
            if (y < m_lTitleHeight + 15) {
                y = static_cast<float>(m_lTitleHeight + 15);
                m_picBottom->setMousePointer(0);
            }
            switch (m_iSizeMode) {
            case 7: f.setHeight((y + 5) * ty); break;
            case 8:
                f.setWidth((X + 5) * tx);
                f.setHeight((y + 5) * ty);
                break;
            case 9: f.setWidth((X + 5) * tx); break;
            default: break;
            }
            // Width and height in one move: one resize of the surface.
            move(left(), top(), f.width(), f.height());
            f.repaint();
        }
        if (y < m_lTitleHeight && m_bMoveable && LeftOfButtons(X)) {
            ReleaseCapture();
            SendMessageA(f.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        RECT r{};
        SetRect(&r, vb::toLong(f.left()), vb::toLong(f.top()), vb::toLong(f.width()), vb::toLong(f.height()));
        m_rcRestore = {r.left, r.top, r.right, r.bottom};
    });
}

void SkinFrame::UserControl_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    reportOnFailure("UserControl_MouseUp", [&] {
        m_iSizeMode = 0;
        if (MouseUp)
            MouseUp(Button, Shift, X, y);
        if (Button == 1 && m_iHotBtn != -1) {
            switch (m_iHotBtn) {
            case 0:
                if (BtnCloseClick)
                    BtnCloseClick();
                parentForm().unload();
                break;
            case 1: ToggleWindowState(); break;
            case 2:
                DrawCaptionBtns(false, m_lFrameColor, m_iLitBtn);
                m_iLitBtn = -1;
                parentForm().setWindowState(1);
                break;
            default: break;
            }
        }
        if (Button == 2 && y < m_lTitleHeight && LeftOfButtons(X))
            PopupSysMnu(true);
    });
}

} // namespace frame
