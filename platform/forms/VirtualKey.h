#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace forms {

// The virtual-key codes a key message carries: the codes the program's
// platform gives its keys, whatever the keyboard layout, so a key handler
// compares codes and not characters.
namespace vk {
constexpr int Cancel = 0x03, Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D;
constexpr int Shift = 0x10, Control = 0x11, Menu = 0x12, Pause = 0x13, Capital = 0x14;
constexpr int Kana = 0x15, Junja = 0x17, Final = 0x18, Kanji = 0x19;
constexpr int Escape = 0x1B, Convert = 0x1C, NonConvert = 0x1D, Accept = 0x1E, ModeChange = 0x1F;
constexpr int Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr int Select = 0x29, Print = 0x2A, Execute = 0x2B, Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E, Help = 0x2F;
constexpr int Digit0 = 0x30;  // to 0x39, as the digits' characters
constexpr int LetterA = 0x41; // to 0x5A, as the capital letters
constexpr int LWin = 0x5B, RWin = 0x5C, Apps = 0x5D, Sleep = 0x5F;
constexpr int Numpad0 = 0x60; // to 0x69
constexpr int Multiply = 0x6A, Add = 0x6B, Separator = 0x6C, Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F;
constexpr int F1 = 0x70; // to F24 = 0x87
constexpr int NumLock = 0x90, Scroll = 0x91;
constexpr int LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4, RMenu = 0xA5;
constexpr int BrowserBack = 0xA6, BrowserForward = 0xA7, BrowserRefresh = 0xA8, BrowserStop = 0xA9,
              BrowserSearch = 0xAA, BrowserFavorites = 0xAB, BrowserHome = 0xAC;
constexpr int VolumeMute = 0xAD, VolumeDown = 0xAE, VolumeUp = 0xAF;
constexpr int MediaNextTrack = 0xB0, MediaPrevTrack = 0xB1, MediaStop = 0xB2, MediaPlayPause = 0xB3;
constexpr int LaunchMail = 0xB4, LaunchMediaSelect = 0xB5, LaunchApp1 = 0xB6, LaunchApp2 = 0xB7;
// The punctuation keys, named after their place on the US layout.
constexpr int Oem1 = 0xBA;      // ; :
constexpr int OemPlus = 0xBB;   // = +
constexpr int OemComma = 0xBC;  // , <
constexpr int OemMinus = 0xBD;  // - _
constexpr int OemPeriod = 0xBE; // . >
constexpr int Oem2 = 0xBF;      // / ?
constexpr int Oem3 = 0xC0;      // ` ~
constexpr int Oem4 = 0xDB;      // [ {
constexpr int Oem5 = 0xDC;      // \ |
constexpr int Oem6 = 0xDD;      // ] }
constexpr int Oem7 = 0xDE;      // ' "
constexpr int Oem8 = 0xDF;
constexpr int Oem102 = 0xE2; // the extra key beside the left Shift of European keyboards
constexpr int ProcessKey = 0xE5, Attn = 0xF6, CrSel = 0xF7, ExSel = 0xF8, ErEof = 0xF9, Play = 0xFA, Zoom = 0xFB,
              Pa1 = 0xFD, OemClear = 0xFE;
} // namespace vk

// The virtual-key code of a key press; 0 for a key the table has no name
// for (such a key still reaches the control).
int virtualKey(const QKeyEvent& key);

// The character a key press types, as a character message carries it; 0
// when the key types none (the cursor keys, Delete, Tab, the function keys).
int typedCharacter(const QKeyEvent& key);

} // namespace forms
