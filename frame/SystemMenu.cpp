#include "frame/SkinFrame.h"

#include "forms/Form.h"
#include "win32/Win32.h"

namespace frame {

void SkinFrame::MnuSyst_Click(std::int16_t Index)
{
    reportOnFailure("mnuSyst_Click", [&] {
        forms::Form& f = parentForm();
        switch (Index) {
        case 0:
        case 2: ToggleWindowState(); break;
        case 1:
            DrawCaptionBtns(false, m_lFrameColor, m_iLitBtn);
            m_iLitBtn = -1;
            f.setWindowState(1);
            break;
        case 4: f.unload(); break;
        case 6: {
            forms::MenuItem& item = MnuSyst(6);
            win32::SetWindowPos(f.hWnd(), item.checked() ? win32::HWND_NOTOPMOST : win32::HWND_TOPMOST, 0, 0, 0, 0,
                                win32::SWP_NOSIZE | win32::SWP_NOMOVE | win32::SWP_SHOWWINDOW);
            item.setChecked(!item.checked());
            break;
        }
        default: {
            std::int16_t index = Index;
            QString caption = MnuSyst(Index).caption();
            if (MenuItemSelected)
                MenuItemSelected(index, caption);
            break;
        }
        }
    });
}

} // namespace frame
