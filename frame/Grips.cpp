#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <QWidget>
#include <cmath>

namespace frame {

void SkinFrame::MakeGrips()
{
    forms::Form& f = parentForm();
    auto make = [&](const char* name) {
        auto& grip =
            static_cast<forms::PictureBox&>(f.addControl(QStringLiteral("vb.PictureBox"), QString::fromLatin1(name)));
        grip.setScaleMode(3);
        grip.setBorderStyle(0);
        grip.setBackColor(m_lFrameColor);
        grip.setVisible(true);
        grip.zOrder(0);
        // The frame beneath takes its pointer (see RouteMouse).
        if (QWidget* w = grip.widget())
            w->setAttribute(Qt::WA_TransparentForMouseEvents);
        return &grip;
    };
    m_picRight = make("m_picRight");
    m_picBottom = make("m_picBottom");
    auto bind = [this](forms::PictureBox& grip, auto down, auto moved, auto up) {
        auto call = [this](auto handler) {
            return [this, handler](int button, int shift, float x, float y) {
                auto b = static_cast<std::int16_t>(button);
                auto s = static_cast<std::int16_t>(shift);
                (this->*handler)(b, s, x, y);
            };
        };
        grip.onMouseDown = call(down);
        grip.onMouseMove = call(moved);
        grip.onMouseUp = call(up);
    };
    bind(*m_picRight, &SkinFrame::m_picRight_MouseDown, &SkinFrame::m_picRight_MouseMove,
         &SkinFrame::m_picRight_MouseUp);
    bind(*m_picBottom, &SkinFrame::m_picBottom_MouseDown, &SkinFrame::m_picBottom_MouseMove,
         &SkinFrame::m_picBottom_MouseUp);
    PlaceGrips();
    m_bGripsMade = true;
}

void SkinFrame::PlaceGrips()
{
    const forms::Form& f = parentForm();
    const float tx = forms::twipsPerWholePixelX(), ty = forms::twipsPerWholePixelY();
    const float W = f.scaleWidth(), H = f.scaleHeight();
    const float T = static_cast<float>(m_lTitleHeight);
    m_picRight->move(W - 4 * tx, (T + 9) * ty, 3 * tx, H - (T + 10) * ty);
    m_picBottom->move(4 * tx, H - 4 * ty, W - 8 * tx, 3 * ty);
}

QRect SkinFrame::GripReach(const forms::PictureBox& grip) const
{
    const int W = scaleWidth(), H = scaleHeight(), T = static_cast<int>(m_lTitleHeight);
    if (&grip == m_picRight)
        return QRect(QPoint(W - 4, T + 9), QPoint(W - 2, H - 2));
    return QRect(QPoint(4, H - 4), QPoint(W - 5, H - 2));
}

forms::PictureBox* SkinFrame::GripAt(float x, float y) const
{
    if (!m_bGripsMade)
        return nullptr;
    const QPoint at(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
    for (forms::PictureBox* grip : {m_picRight, m_picBottom})
        if (grip && grip->isVisible() && GripReach(*grip).contains(at))
            return grip;
    return nullptr;
}

void SkinFrame::RouteMouse(int kind, std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    forms::PictureBox* grip = gripPressed_ ? gripPressed_ : GripAt(X, y);
    if (kind == 0)
        gripPressed_ = grip;
    else if (kind == 2)
        gripPressed_ = nullptr;
    if (!grip) {
        if (gripCursor_) {
            gripCursor_ = false;
            setMousePointer(mousePointer());
        }
        switch (kind) {
        case 0: UserControl_MouseDown(Button, Shift, X, y); break;
        case 1: UserControl_MouseMove(Button, Shift, X, y); break;
        default: UserControl_MouseUp(Button, Shift, X, y); break;
        }
        return;
    }
    const QRect reach = GripReach(*grip);
    float gx = X - static_cast<float>(reach.left()), gy = y - static_cast<float>(reach.top());
    const bool right = grip == m_picRight;
    switch (kind) {
    case 0: right ? m_picRight_MouseDown(Button, Shift, gx, gy) : m_picBottom_MouseDown(Button, Shift, gx, gy); break;
    case 1: right ? m_picRight_MouseMove(Button, Shift, gx, gy) : m_picBottom_MouseMove(Button, Shift, gx, gy); break;
    default: right ? m_picRight_MouseUp(Button, Shift, gx, gy) : m_picBottom_MouseUp(Button, Shift, gx, gy); break;
    }
    // The pointer the grip chose shows over the frame.
    if (QWidget* w = widget(); w && grip->widget()) {
        w->setCursor(grip->widget()->cursor());
        gripCursor_ = true;
    }
}

void SkinFrame::GripDown(forms::PictureBox& grip)
{
    if (m_iWinState != 2)
        m_iSizeMode = static_cast<std::int16_t>(grip.mousePointer());
}

void SkinFrame::GripMove(forms::PictureBox& grip, bool right, std::int16_t& Button, std::int16_t& Shift, float& X,
                         float& y, const char* procedure)
{
    reportOnFailure(procedure, [&] {
        if (m_iWinState == 2) {
            grip.setMousePointer(0);
            return;
        }
        if (m_lBorderStyle == 1) {
            // The corner zones begin 10 pixels before the window's edges.
            if (right)
                grip.setMousePointer(y > static_cast<float>(scaleHeight()) - m_lTitleHeight - 20 ? 8 : 9);
            else
                grip.setMousePointer(X > static_cast<float>(scaleWidth()) - 15 ? 8 : 7);
        }
        if (m_iSizeMode > 0) {
            const QRect reach = GripReach(grip);
            float x = X + static_cast<float>(reach.left());
            float yy = y + static_cast<float>(reach.top());
            UserControl_MouseMove(Button, Shift, x, yy);
        }
    });
}

void SkinFrame::m_picRight_MouseDown(std::int16_t&, std::int16_t&, float&, float&)
{
    GripDown(*m_picRight);
}

void SkinFrame::m_picRight_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    GripMove(*m_picRight, true, Button, Shift, X, y, "m_picRight_MouseMove");
}

void SkinFrame::m_picRight_MouseUp(std::int16_t&, std::int16_t&, float&, float&)
{
    m_iSizeMode = 0;
}

void SkinFrame::m_picBottom_MouseDown(std::int16_t&, std::int16_t&, float&, float&)
{
    GripDown(*m_picBottom);
}

void SkinFrame::m_picBottom_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)
{
    GripMove(*m_picBottom, false, Button, Shift, X, y, "m_picBottom_MouseMove");
}

void SkinFrame::m_picBottom_MouseUp(std::int16_t&, std::int16_t&, float&, float&)
{
    m_iSizeMode = 0;
}

void SkinFrame::UserControl_Resize()
{
    reportOnFailure("UserControl_Resize", [&] {
        // Placed on its window but not yet sited there (its settings not
        // read): there is no title to paint, and nobody sees the surface.
        if (ambientUserMode() && !m_frmParent && !parentForm().isLoaded()) {
            if (ReSize)
                ReSize();
            return;
        }
        cls();
        if (m_bChangeAllBackgrounds) {
            // Any style outside the three takes the button face here.
            std::int32_t colour = TranslateColor(static_cast<std::int32_t>(0x8000000F));
            StyleBackColor(colour);
            ChangeBackgrounds(colour);
        }
        DrawTitleBar();
        if (ReSize)
            ReSize();
        if (m_bGripsMade) {
            PlaceGrips();
            for (forms::PictureBox* grip : {m_picRight, m_picBottom}) {
                grip->setBackColor(m_lFrameColor);
                grip->refresh();
            }
        }
    });
}

} // namespace frame
