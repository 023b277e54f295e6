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

void SkinFrame::FormMenuAdd(const QString& strMenuCaption, bool blnAddSeparator, bool blnEnabled, bool blnChecked,
                            bool blnVisible)
{
    reportOnFailure("FormMenuAdd", [&] {
        // The next index is the number of items: once an item other than
        // the last has gone, that index is taken and the load fails.
        for (bool separator = blnAddSeparator;; separator = false) {
            forms::MenuItem& item = MnuSyst.load(MnuSyst.count());
            item.setVisible(true);
            item.setEnabled(true);
            if (separator) {
                item.setCaption(QStringLiteral("-"));
                continue;
            }
            item.setCaption(strMenuCaption);
            item.setEnabled(blnEnabled);
            item.setChecked(blnChecked);
            item.setVisible(blnVisible);
            return;
        }
    });
}

void SkinFrame::ModifyAddedMenu(std::int16_t intMenuID, const QString& strMenuCaption, bool blnEnabled, bool blnChecked,
                                bool blnVisible)
{
    reportOnFailure("ModifyAddedMenu", [&] {
        if (intMenuID <= 6)
            return;
        forms::MenuItem& item = MnuSyst(intMenuID);
        if (!strMenuCaption.isEmpty())
            item.setCaption(strMenuCaption);
        item.setEnabled(blnEnabled);
        item.setChecked(blnChecked);
        item.setVisible(blnVisible);
    });
}

void SkinFrame::FormMenuRemove(std::int16_t intMenuID)
{
    reportOnFailure("FormMenuRemove", [&] {
        if (intMenuID > 6 && intMenuID <= MnuSyst.count())
            MnuSyst.unload(intMenuID);
        // A separator left at the end goes with the item after it. After
        // holes the item before may be gone too: then there is none to take.
        const int before = intMenuID - 1;
        if (intMenuID == MnuSyst.count() && MnuSyst.exists(before) && MnuSyst(before).caption() == QLatin1String("-"))
            MnuSyst.unload(before);
    });
}

vb::Variant SkinFrame::GetMenuItemValue(std::int16_t iMenuID, std::int32_t PropertyID)
{
    vb::Variant value;
    reportOnFailure("GetMenuItemValue", [&] {
        switch (PropertyID) {
        case 0: value = MnuSyst(iMenuID).caption(); break;
        case 1: value = MnuSyst(iMenuID).isEnabled(); break;
        case 2: value = MnuSyst(iMenuID).checked(); break;
        case 3: value = MnuSyst(iMenuID).isVisible(); break;
        default: break;
        }
    });
    return value;
}

} // namespace frame
