#include "forms/VirtualKey.h"

#include <QKeyEvent>

namespace forms {

namespace {

// The keys of the numeric keypad that have codes of their own; with Num
// Lock off the keypad sends the navigation keys, which the main table
// names.
int keypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::Numpad0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return vk::Decimal; // the decimal key types a comma in some layouts
    case Qt::Key_Slash: return vk::Divide;
    default: return 0;
    }
}

// A character key names the key that types it on the US layout: Shift+1
// types "!" on the key whose code is "1".
int characterKey(int key, bool shift)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::Digit0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return vk::LetterA + (key - Qt::Key_A);
    switch (key) {
    case Qt::Key_ParenRight: return vk::Digit0;
    case Qt::Key_Exclam: return vk::Digit0 + 1;
    case Qt::Key_At: return vk::Digit0 + 2;
    case Qt::Key_NumberSign: return vk::Digit0 + 3;
    case Qt::Key_Dollar: return vk::Digit0 + 4;
    case Qt::Key_Percent: return vk::Digit0 + 5;
    case Qt::Key_AsciiCircum: return vk::Digit0 + 6;
    case Qt::Key_Ampersand: return vk::Digit0 + 7;
    case Qt::Key_Asterisk: return vk::Digit0 + 8;
    case Qt::Key_ParenLeft: return vk::Digit0 + 9;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return vk::Oem1;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vk::OemPlus;
    case Qt::Key_Comma: return vk::OemComma;
    case Qt::Key_Less: return shift ? vk::OemComma : vk::Oem102; // unshifted: the European extra key
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vk::OemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return vk::OemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return vk::Oem2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return vk::Oem3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return vk::Oem4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return vk::Oem5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return vk::Oem6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return vk::Oem7;
    default: return 0;
    }
}

// The keys that type nothing: editing, navigation, locks, modifiers, the
// function keys and the keys of browsers and players.
int controlKey(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vk::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Cancel: return vk::Cancel;
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab; // Shift+Tab
    case Qt::Key_Clear: return vk::Clear; // the keypad's 5 without Num Lock
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return vk::Menu;
    case Qt::Key_Pause: return vk::Pause;
    case Qt::Key_CapsLock: return vk::Capital;
    case Qt::Key_Kana_Lock:
    case Qt::Key_Kana_Shift:
    case Qt::Key_Hangul: return vk::Kana;
    case Qt::Key_Hangul_Jeonja: return vk::Junja;
    case Qt::Key_Hangul_Hanja:
    case Qt::Key_Kanji: return vk::Kanji;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Henkan: return vk::Convert;
    case Qt::Key_Muhenkan: return vk::NonConvert;
    case Qt::Key_Mode_switch: return vk::ModeChange;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Select: return vk::Select;
    case Qt::Key_Printer: return vk::Print;
    case Qt::Key_Execute: return vk::Execute;
    case Qt::Key_Print:
    case Qt::Key_SysReq: return vk::Snapshot; // Alt+Print Screen
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Help: return vk::Help;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return vk::LWin;
    case Qt::Key_Super_R: return vk::RWin;
    case Qt::Key_Menu: return vk::Apps;
    case Qt::Key_Sleep: return vk::Sleep;
    case Qt::Key_NumLock: return vk::NumLock;
    case Qt::Key_ScrollLock: return vk::Scroll;
    case Qt::Key_Back: return vk::BrowserBack;
    case Qt::Key_Forward: return vk::BrowserForward;
    case Qt::Key_Refresh: return vk::BrowserRefresh;
    case Qt::Key_Stop: return vk::BrowserStop;
    case Qt::Key_Search: return vk::BrowserSearch;
    case Qt::Key_Favorites: return vk::BrowserFavorites;
    case Qt::Key_HomePage: return vk::BrowserHome;
    case Qt::Key_VolumeMute: return vk::VolumeMute;
    case Qt::Key_VolumeDown: return vk::VolumeDown;
    case Qt::Key_VolumeUp: return vk::VolumeUp;
    case Qt::Key_MediaNext: return vk::MediaNextTrack;
    case Qt::Key_MediaPrevious: return vk::MediaPrevTrack;
    case Qt::Key_MediaStop: return vk::MediaStop;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause: return vk::MediaPlayPause;
    case Qt::Key_LaunchMail: return vk::LaunchMail;
    case Qt::Key_LaunchMedia: return vk::LaunchMediaSelect;
    case Qt::Key_Launch0: return vk::LaunchApp1;
    case Qt::Key_Launch1: return vk::LaunchApp2;
    case Qt::Key_Play: return vk::Play;
    case Qt::Key_Zoom: return vk::Zoom;
    default: return 0;
    }
}

} // namespace

int virtualKey(const QKeyEvent& key)
{
    const int k = key.key();
    if (key.modifiers() & Qt::KeypadModifier)
        if (const int code = keypadKey(k))
            return code;
    if (const int code = controlKey(k))
        return code;
    return characterKey(k, key.modifiers() & Qt::ShiftModifier);
}

int typedCharacter(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    // With Ctrl held the widget keeps its own shortcuts (copy, paste).
    if (key.modifiers() & Qt::ControlModifier)
        return 0;
    const QList<uint> text = key.text().toUcs4();
    if (text.isEmpty())
        return 0;
    // Delete and the other keys that report a control character type
    // nothing; Tab moves the focus on and types nothing either.
    const uint c = text.front();
    if (c < 32 || c == 127)
        return 0;
    return static_cast<int>(c);
}

} // namespace forms
