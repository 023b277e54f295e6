#pragma once

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Picture.h"
#include "forms/UserControl.h"
#include "frame/HookTable.h"
#include "vb/Failure.h"
#include "vb/Variant.h"

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace win32 {
struct RECT;
}
namespace testsupport {
class FrameProbe;
}

namespace frame {

using win32RECT = win32::RECT;

class SkinFrame;

// A setting's store key (its name), the member that holds it (whose type is
// the setting's stored type) and its three defaults. The button face
// (&H8000000F) as a new-instance or read default is translated to its RGB
// value at the moment it is used.
struct FrameSetting {
    enum Kind { Long, Integer, Boolean }; // in the order of `member`'s types
    const char* key;
    std::variant<std::int32_t SkinFrame::*, std::int16_t SkinFrame::*, bool SkinFrame::*> member;
    std::int64_t newInstance;
    std::int64_t readDefault;
    std::int64_t writeDefault;
    Kind kind() const { return static_cast<Kind>(member.index()); }
};

// The window frame drawn by the program: a user control docked over the
// whole window that carries it, with its own title bar, caption buttons,
// border, sizing grips and system menu. It works in pixels of its surface.
class SkinFrame : public forms::UserControl {
public:
    // ThemeColor
    enum : std::int32_t { ThemeBlue, ThemeSilver, ThemeOlive, ThemeKhaki, ThemeGold, ThemeCustom, ThemeSystem };
    // Style
    enum : std::int32_t { StyleCylinder, StyleGripBar, StyleSolid, StyleLinear };
    // BackColorStyle
    enum : std::int32_t { BackButtonFace, BackThemeFill, BackCustom };
    // The modes of DrawGradientInRectangle.
    enum : std::int32_t { GradVertical, GradHorizontal, GradCylinderVertical, GradCylinderHorizontal };

    static constexpr std::int32_t WHEN_AFTER = 1, WHEN_BEFORE = 2, ANY_MESSAGE = HookTable::ANY_MESSAGE;

    // A caption button: 0 close, 1 maximise/restore, 2 minimise.
    struct CapBtnEntry {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Width = 0;
        std::int32_t Height = 0;
        bool Hot = false;
        QString Tooltip;
        bool Visible = false;
    };

    // A window's bounds in twips: Left, Top, Width, Height.
    struct RectL {
        std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    };

    SkinFrame(forms::Form& form, forms::Control* container, const QString& name);

    // The events raised to the host, every parameter by reference.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)> MouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)> MouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& y)> MouseUp;
    std::function<void()> BtnCloseClick;
    std::function<void()> ReSize;
    std::function<void(std::int16_t& MenuItem, QString& MenuCaption)> MenuItemSelected;

    // The settings, as read.
    std::int32_t ThemeColor() const { return m_lThemeColor; }
    std::int32_t Style() const { return m_lStyle; }
    std::int32_t BackColorStyle() const { return m_lBackColorStyle; }
    bool MaxButton() const { return m_bMaxButton; }
    bool MinButton() const { return m_bMinButton; }
    bool CloseButton() const { return m_bCloseButton; }
    bool ChangeAllBackgrounds() const { return m_bChangeAllBackgrounds; }
    std::int32_t BorderStyle() const { return m_lBorderStyle; }
    std::int32_t CustomBackColor() const { return m_lCustomBackColor; }
    std::int32_t ColorFrom() const { return m_lColorFrom; }
    std::int32_t ColorTo() const { return m_lColorTo; }
    std::int16_t IconSize() const { return m_iIconSize; }

    // The error sink: every failure the frame handles ends here, and here
    // it is dropped.
    static void ReportError(bool flag, const QString& number, const QString& description, const QString& className,
                            const QString& procedure);
    // Tests watch the sink: the procedure's name, the failure's number and
    // its description.
    using ErrorObserver =
        std::function<void(const QString& procedure, const QString& number, const QString& description)>;
    static void setErrorObserver(ErrorObserver observer);

    // Drawing primitives, on a device context of the surface.
    void APILineEx(forms::Handle hDC, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                   std::int32_t lColor);
    void ApiRectangle(forms::Handle hDC, std::int32_t X, std::int32_t Y, std::int32_t W, std::int32_t H,
                      std::int32_t lColor);
    void DrawGradientEx(forms::Handle hDC, std::int32_t lStartColor, std::int32_t lEndColor, std::int32_t X,
                        std::int32_t Y, std::int32_t X2, std::int32_t Y2, bool bRows);
    static std::int32_t BlendColors(std::int32_t lColorA, std::int32_t lColorB);
    static std::int32_t TranslateColor(std::int32_t lColor);
    struct Rect {
        std::int32_t Left, Top, Width, Height;
    };
    void DrawGradientInRectangle(forms::Handle hDC, std::int32_t lColor1, std::int32_t lColor2, const Rect& r,
                                 std::int32_t mode, bool bOutline, std::int32_t lOutlineColor, double ratio);
    void DrawGradCilinder(forms::Handle hDC, std::int32_t lColor1, std::int32_t lColor2, const Rect& r, bool bVertical,
                          double ratio);
    void PaintShpInBar(std::int32_t lLight, std::int32_t lDark, std::int32_t lHeight);

    // Theme colours.
    void SetThemeColor();
    void SetDefaultThemeColor(const std::int32_t& theme);
    void GetGradientColor(const forms::Handle& hWnd);
    bool AppIsThemed();
    void ReadThemeName(const forms::Handle& hWnd);
    QString GetInfo(std::int32_t lcType);

    // Caption buttons.
    void CaptionBtnSetup();
    std::int16_t HitTestCaptionBtn(std::int16_t x, std::int16_t y) const;
    void PaintCaptionBtns(std::int16_t iBtn);
    void DrawCaptionBtns(bool bHot, std::int32_t lColor, std::int16_t iBtn);

    // The title bar and its caption.
    void TitleBarHeightSetup();
    void DrawTitleBarInitial();
    void DrawTitleBar();
    QString TrimWord(const QString& text, std::int32_t width);

    // Which caption buttons exist; the title bar painted afresh.
    void BorderStyleSetup();

    // Window state and layout.
    void ToggleWindowState();
    void MaximizeToWorkArea(forms::Form& form);
    void MoveToWorkArea(forms::Form& f, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    void MoveToRestoreBounds(forms::Form& f);
    void TB_GetDesktopWorkArea(std::int32_t& Left, std::int32_t& Top, std::int32_t& Width, std::int32_t& Height);
    void ChangeBackgrounds(std::int32_t lColor);
    void RelocateControls(bool bStyleChanged);
    std::int16_t GetControlsOffset(std::int16_t iMinTop);
    // The windows are designed at 15 twips per pixel, the controls placed in
    // the frame below a title bar of m_lTitleHeight such pixels. Where the
    // frame's pixels hold fewer twips (a screen scaled by a fraction) the
    // title bar is shorter in twips, and the controls and the window's
    // height follow it, so the space below the title stays as designed.
    void FitControlsToTitle();

    // Mouse and keyboard.
    void UserControl_Click();
    void UserControl_DblClick();
    void UserControl_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
    void UserControl_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void UserControl_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void UserControl_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);

    // The sizing grips and the resize handling.
    void MakeGrips();
    void m_picRight_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void m_picRight_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void m_picRight_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void m_picBottom_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void m_picBottom_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void m_picBottom_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    void UserControl_Resize();

    // The system menu.
    void MnuSyst_Click(std::int16_t Index);
    // The host's own items, below the built-in ones (0 to 6, which these
    // never change or remove).
    void FormMenuAdd(const QString& strMenuCaption, bool blnAddSeparator, bool blnEnabled, bool blnChecked,
                     bool blnVisible);
    void ModifyAddedMenu(std::int16_t intMenuID, const QString& strMenuCaption, bool blnEnabled, bool blnChecked,
                         bool blnVisible);
    void FormMenuRemove(std::int16_t intMenuID);
    // PropertyID 0 caption, 1 enabled, 2 checked, 3 visible; any other, or
    // an index with no item, gives Empty.
    vb::Variant GetMenuItemValue(std::int16_t iMenuID, std::int32_t PropertyID);

    // Message hooks. The interception calls the frame through its
    // interface, so the callback is virtual.
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, std::int32_t& lReturn, forms::Handle& lng_hWnd,
                                std::int32_t& uMsg, quintptr& wParam, qintptr& lParam);
    std::int32_t Subclass_Start(forms::Handle lng_hWnd);
    void Subclass_AddMsg(forms::Handle lng_hWnd, std::int32_t uMsg, std::int32_t When);
    void Subclass_DelMsg(forms::Handle lng_hWnd, std::int32_t uMsg, std::int32_t When);
    void Subclass_Stop(forms::Handle lng_hWnd);
    void Subclass_Shutdown();
    std::int32_t zIdx(forms::Handle lng_hWnd, bool bAdd);
    void zAddMsg(std::int32_t uMsg, std::vector<std::int32_t>& aMsgTbl, std::int32_t& nMsgCnt, std::int32_t When,
                 Interception* block);
    void zDelMsg(std::int32_t uMsg, std::vector<std::int32_t>& aMsgTbl, std::int32_t& nMsgCnt, std::int32_t When,
                 Interception* block);
    bool IsFunctionExported(const QString& sFunction, const QString& sModule);
    void TrackMouseLeave(forms::Handle lng_hWnd);

    // The life cycle, called by the window.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag);
    void UserControl_WriteProperties(forms::PropertyBag& PropBag);
    void UserControl_Terminate();
    void Refresh();
    void initProperties() override { UserControl_InitProperties(); }
    void readProperties(const forms::PropertyBag& bag) override { UserControl_ReadProperties(bag); }
    void writeProperties(forms::PropertyBag& bag) override { UserControl_WriteProperties(bag); }
    void terminate() override { UserControl_Terminate(); }

    // The twelve setting changes, as the designer makes them.
    void setThemeColor(std::int32_t vData);
    void setStyle(std::int32_t vData);
    void setBackColorStyle(std::int32_t vData);
    void setMaxButton(bool vData);
    void setMinButton(bool vData);
    void setCloseButton(bool vData);
    void setChangeAllBackgrounds(bool vData);
    void setBorderStyle(std::int32_t vData);
    void setCustomBackColor(std::int32_t vData);
    void setColorFrom(std::int32_t new_ColorFrom);
    void setColorTo(std::int32_t new_ColorTo);
    void setIconSize(std::int16_t new_IconSize);

    // The system menu (design caption "Menu"), shown only as a popup.
    QString SysMnuCaption = QStringLiteral("Menu");
    forms::ControlArray<forms::MenuItem> MnuSyst{QStringLiteral("MnuSyst")};

    // The store side of the twelve settings, as the life cycle uses it.
    // Reads every setting from the store with its read default, converted
    // to its type; the first value that cannot be converted fails.
    void readSettings(const forms::PropertyBag& store);
    // Writes every setting with its write default.
    void writeSettings(forms::PropertyBag& store) const;
    // Every setting at its new-instance value.
    void newInstanceSettings();

protected:
    // The frame's error style: a failure in `steps` goes to the sink under
    // the operation's name and ends the operation; what was done stays.
    template <class Steps>
    static bool reportOnFailure(const char* procedure, Steps&& steps)
    {
        try {
            steps();
            return true;
        } catch (const vb::Failure& f) {
            ReportError(true, QString::number(f.number()), f.description(), QStringLiteral("SkinFrame"),
                        QString::fromLatin1(procedure));
            return false;
        }
    }

private:
    // The interception reads its window's tables in place.
    friend class Interception;
    // The tests read the state through their probe.
    friend class ::testsupport::FrameProbe;

    // Members, in declaration order.
    bool m_bCanTrackLeave = false;
    bool m_bTrackInUser32 = false;
    bool m_bMouseInside = false;
    HookTable m_aHooks;
    std::int32_t m_lCaptionHeight = 0;
    std::int32_t m_lTitleHeight = 0;
    QString m_sCaption;
    std::int32_t m_lBtnTop = 0;
    forms::Picture m_picIcon;
    std::int32_t m_lThemeColor = 0;
    QString m_sThemeName;
    std::int32_t m_lStyle = 0;
    std::int16_t m_iSizeMode = 0;
    std::int16_t m_iWinState = 0;
    RectL m_rcRestore;
    std::int32_t m_lTitleStartX = 0;
    std::int16_t m_iHotBtn = -1;
    std::int16_t m_iLitBtn = -1;
    bool m_bOverTitle = false;
    std::int32_t m_lCustomBackColor = 0;
    std::int32_t m_lBackColorStyle = 0;
    std::int32_t m_lBorderStyle = 0;
    bool m_bMaxButton = false;
    bool m_bMinButton = false;
    std::int16_t m_iIconSize = 0;
    std::int16_t m_iLeftBtn = 0;
    std::int32_t m_lFrameColor = 0;
    std::int32_t m_lFillColor = 0;
    std::int32_t m_lColorFrom = 0;
    std::int32_t m_lColorTo = 0;
    bool m_bTallApplied = false;
    forms::Form* m_frmParent = nullptr;
    std::array<CapBtnEntry, 3> m_aCapBtn{};
    std::int16_t m_iDownButton = 0;
    bool m_bGripsMade = false;
    bool m_bCloseButton = false;
    bool m_bMoveable = false;
    bool m_bChangeAllBackgrounds = false;

    // The sizing grips, added to the carrying window when first needed.
    forms::PictureBox* m_picRight = nullptr;
    forms::PictureBox* m_picBottom = nullptr;

    // The twelve settings, in the order they are read and written.
    static const std::array<FrameSetting, 12> FrameSettings;
    // A setting as its member holds it; a Boolean as -1 or 0.
    std::int64_t setting(const FrameSetting& s) const;
    void setSetting(const FrameSetting& s, std::int64_t value);

    void buildMenu();
    // Mouse pointer 99 with the frame's hand.
    void ShowHand();
    bool handSet_ = false;
    void wireEvents();
    // The host window.
    forms::Form& parentForm() const { return m_frmParent ? *m_frmParent : form(); }
    // Pops the system menu up at a point of the control, or at the pointer.
    void PopupSysMnu(bool atPointer, QPoint at = QPoint());
    // Left of the caption buttons: the test of a title drag and of the
    // right-click menu.
    bool LeftOfButtons(float x) const;
    void PlaceGrips();
    void GripMove(forms::PictureBox& grip, bool right, std::int16_t& Button, std::int16_t& Shift, float& X, float& y,
                  const char* procedure);
    void GripDown(forms::PictureBox& grip);
    // The grips react by the frame's pixels, which the window's pixels that
    // place their widgets do not meet on every scale: the frame takes the
    // pointer over them and passes it on. A grip's reach is its strip of
    // the border but the outermost pixel.
    QRect GripReach(const forms::PictureBox& grip) const;
    forms::PictureBox* GripAt(float x, float y) const;
    // A pointer event of the frame (0 down, 1 move, 2 up), to the grip it
    // is for or to the frame's own handling.
    void RouteMouse(int kind, std::int16_t& Button, std::int16_t& Shift, float& X, float& y);
    // The grip a press began on, which takes the pointer until the release.
    forms::PictureBox* gripPressed_ = nullptr;
    // The frame shows a grip's pointer.
    bool gripCursor_ = false;
    // The caption step of the title bar, with the caption rectangle.
    void DrawCaption(win32RECT& rc);
    // The title height T for the caption height and Style.
    std::int32_t TitleHeightOfStyle() const;
    // The title background of one style over a column range.
    void PaintTitleBackground(std::int32_t x0, std::int32_t width, std::int32_t t, bool outline, bool gripStrip = true);
    // The back colour that BackColorStyle gives, translated; false for a
    // style outside the three.
    bool StyleBackColor(std::int32_t& colour) const;
    // Moves the contained controls down by d twips and grows the window (or
    // the restore height while pseudo-maximised) by as much.
    void ShiftContained(double d);
    CapBtnEntry& btn(std::int32_t index);
};

} // namespace frame
