// Numeric constants of the windowing platform under our own names: window
// messages, virtual keys, scroll codes, text-format flags, message-box types
// and results, file-dialog flags. The values are the platform's, so a native
// front end passes them through unchanged.
#pragma once

#include <cstdint>

namespace platform {

namespace msg {
constexpr unsigned Size = 0x0005;
constexpr unsigned Paint = 0x000F;
constexpr unsigned Close = 0x0010;
constexpr unsigned Quit = 0x0012;
constexpr unsigned SetCursor = 0x0020;
constexpr unsigned KeyDown = 0x0100;
constexpr unsigned KeyUp = 0x0101;
constexpr unsigned Char = 0x0102;
constexpr unsigned Command = 0x0111;
constexpr unsigned SysCommand = 0x0112;
constexpr unsigned Timer = 0x0113;
constexpr unsigned VScroll = 0x0115;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned LButtonUp = 0x0202;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned RButtonUp = 0x0205;
constexpr unsigned MouseWheel = 0x020A;
constexpr unsigned DropFiles = 0x0233;
constexpr unsigned User = 0x0400;
}  // namespace msg

/// System command values carried by msg::SysCommand (low four bits masked).
namespace syscmd {
constexpr unsigned Close = 0xF060;
}

/// Button and modifier flags carried in wParam of pointer messages.
namespace mk {
constexpr unsigned LButton = 0x0001;
constexpr unsigned RButton = 0x0002;
constexpr unsigned Shift = 0x0004;
constexpr unsigned Control = 0x0008;
constexpr unsigned MButton = 0x0010;
}  // namespace mk

/// Virtual key codes.
namespace vk {
constexpr unsigned Back = 0x08;
constexpr unsigned Tab = 0x09;
constexpr unsigned Clear = 0x0C;
constexpr unsigned Return = 0x0D;
constexpr unsigned Shift = 0x10;
constexpr unsigned Control = 0x11;
constexpr unsigned Menu = 0x12;  // Alt
constexpr unsigned Pause = 0x13;
constexpr unsigned Capital = 0x14;
constexpr unsigned Escape = 0x1B;
constexpr unsigned Space = 0x20;
constexpr unsigned Prior = 0x21;  // Page Up
constexpr unsigned Next = 0x22;   // Page Down
constexpr unsigned End = 0x23;
constexpr unsigned Home = 0x24;
constexpr unsigned Left = 0x25;
constexpr unsigned Up = 0x26;
constexpr unsigned Right = 0x27;
constexpr unsigned Down = 0x28;
constexpr unsigned Snapshot = 0x2C;
constexpr unsigned Insert = 0x2D;
constexpr unsigned Delete = 0x2E;
constexpr unsigned Key0 = 0x30;     // '0'..'9' are 0x30..0x39
constexpr unsigned KeyA = 0x41;     // 'A'..'Z' are 0x41..0x5A
constexpr unsigned Numpad0 = 0x60;  // ..Numpad9 = 0x69
constexpr unsigned Multiply = 0x6A;
constexpr unsigned Add = 0x6B;
constexpr unsigned Subtract = 0x6D;
constexpr unsigned Decimal = 0x6E;
constexpr unsigned Divide = 0x6F;
constexpr unsigned F1 = 0x70;  // ..F24 = 0x87
constexpr unsigned F3 = 0x72;
constexpr unsigned F5 = 0x74;
constexpr unsigned F6 = 0x75;
constexpr unsigned NumLock = 0x90;
constexpr unsigned Scroll = 0x91;
constexpr unsigned Oem1 = 0xBA;       // ;:
constexpr unsigned OemPlus = 0xBB;    // =+
constexpr unsigned OemComma = 0xBC;   // ,<
constexpr unsigned OemMinus = 0xBD;   // -_
constexpr unsigned OemPeriod = 0xBE;  // .>
constexpr unsigned Oem2 = 0xBF;       // /?
constexpr unsigned Oem3 = 0xC0;       // `~
constexpr unsigned Oem4 = 0xDB;       // [{
constexpr unsigned Oem5 = 0xDC;       // backslash |
constexpr unsigned Oem6 = 0xDD;       // ]}
constexpr unsigned Oem7 = 0xDE;       // '"
}  // namespace vk

/// Control codes typed by Ctrl and a letter key (Ctrl+A 1 ... Ctrl+Z 26),
/// as the hosts deliver them in character messages.
namespace ctl {
constexpr unsigned Copy = 3;    // Ctrl+C
constexpr unsigned Find = 6;    // Ctrl+F
constexpr unsigned Paste = 22;  // Ctrl+V
constexpr unsigned Redo = 25;   // Ctrl+Y, and Ctrl+Shift+Z
constexpr unsigned Undo = 26;   // Ctrl+Z
/// The code of Ctrl with letter key n (0 for A); Shift changes none but
/// Ctrl+Shift+Z, which is redo, as editors have it.
constexpr unsigned ForLetter(unsigned n, bool shift) {
    return shift && n + 1 == Undo ? Redo : n + 1;
}
}  // namespace ctl

/// Scroll bar request codes (low word of wParam of msg::VScroll).
namespace sb {
constexpr unsigned LineUp = 0;
constexpr unsigned LineDown = 1;
constexpr unsigned PageUp = 2;
constexpr unsigned PageDown = 3;
constexpr unsigned ThumbPosition = 4;
constexpr unsigned ThumbTrack = 5;
constexpr unsigned Top = 6;
constexpr unsigned Bottom = 7;
constexpr unsigned EndScroll = 8;
}  // namespace sb

/// Text-format flags for Surface::DrawTextInRect.
namespace dt {
constexpr unsigned Left = 0x0000;
constexpr unsigned Top = 0x0000;
constexpr unsigned Center = 0x0001;
constexpr unsigned Right = 0x0002;
constexpr unsigned VCenter = 0x0004;
constexpr unsigned Bottom = 0x0008;
constexpr unsigned SingleLine = 0x0020;
constexpr unsigned NoPrefix = 0x0800;
}  // namespace dt

/// Background modes for text output.
enum class BkMode { Transparent = 1, Opaque = 2 };

/// Message-box types and results.
namespace mb {
constexpr unsigned Ok = 0x00;
constexpr unsigned YesNo = 0x04;
constexpr unsigned IconError = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconExclamation = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned ButtonMask = 0x0F;
constexpr unsigned IconMask = 0xF0;

constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
}  // namespace mb

/// File-dialog flags.
namespace ofn {
constexpr unsigned OverwritePrompt = 0x00000002;
constexpr unsigned HideReadOnly = 0x00000004;
constexpr unsigned PathMustExist = 0x00000800;
constexpr unsigned FileMustExist = 0x00001000;
constexpr unsigned NoReadOnlyReturn = 0x00008000;
}  // namespace ofn

/// Window styles used by the dialog templates.
namespace ws {
constexpr uint32_t Popup = 0x80000000;
constexpr uint32_t Visible = 0x10000000;
constexpr uint32_t Caption = 0x00C00000;
constexpr uint32_t SysMenu = 0x00080000;
constexpr uint32_t ThickFrame = 0x00040000;
constexpr uint32_t MinimizeBox = 0x00020000;
constexpr uint32_t MaximizeBox = 0x00010000;
constexpr uint32_t DsModalFrame = 0x00000080;
constexpr uint32_t ExAppWindow = 0x00040000;
}  // namespace ws

}  // namespace platform
