#pragma once
// The widget layer's own small message set, the message record, and the
// message hook chain.
//
// Every event a control receives from the toolkit is first offered, as a
// TMsg, to the hooks: the global hook, the applet's hook, then the control's
// own hook. A hook answers true to consume the message (the control then
// does nothing more with it). A component that installs a hook keeps the
// previous one, passes every message it does not consume on to it with
// PassMessage, and puts it back when it goes:
//
//   prev_ = control->SetMessageHook([this](TControl& c, TMsg& m) {
//       if (m.Message == msgClose) { ...; return true; }
//       return PassMessage(prev_, c, m);
//   });
//   ...
//   control->SetMessageHook(prev_);   // on removal

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tabulo/widgets/obj.h"

class TControl;

enum TMsgId : uint32_t {
    msgNone = 0,
    msgClose,         // a close request; WParam 1 when it comes from the program
    msgDestroy,       // the window is going away (sent once, not consumable)
    msgSizeChanging,  // NewWidth/NewHeight about to be applied; a hook may change them
    msgSize,          // the size changed; WParam = window state (0 normal, 1 min, 2 max)
    msgMove,          // the position changed
    msgShow,          // the window is shown
    msgHide,          // the window is hidden
    msgActivate,      // WParam 1 activated, 0 deactivated (top-level windows)
    msgSetFocus,
    msgKillFocus,
    msgEnable,      // WParam 1 enabled, 0 disabled
    msgSetText,     // the text changed
    msgPaint,       // about to paint; a hook that consumes it paints nothing else
    msgEraseBkgnd,  // the background is about to be filled; consume to skip it
    msgMouseMove,   // the mouse messages carry Mouse
    msgMouseDown,
    msgMouseUp,
    msgMouseDblClk,
    msgMouseWheel,
    msgMouseHover,  // the mouse entered the control
    msgMouseLeave,  // the mouse left the control
    msgKeyDown,     // WParam = virtual key code; a hook may consume it
    msgKeyUp,
    msgChar,          // Text = the typed character (UTF-8)
    msgDropFiles,     // Files = full paths in drop order; Mouse.X/Y the drop point
    msgMinimize,      // the user minimises the window (before it happens)
    msgWindowState,   // the window state changed; WParam = new state
    msgUser = 0x1000  // first number free for components
};

// Mouse buttons as a button number (1 left, 2 right, 3 middle; 0 none) and
// the key/button state bits.
enum : uint32_t {
    mkLButton = 0x0001,
    mkRButton = 0x0002,
    mkShift = 0x0004,
    mkControl = 0x0008,
    mkMButton = 0x0010,
    mkAlt = 0x0020,
};

struct TMouseInfo {
    uint8_t Button = 0;      // 1 left, 2 right, 3 middle, 0 none (moves)
    uint32_t Shift = 0;      // mk* bits of the buttons held and the modifier keys
    int16_t WheelDelta = 0;  // wheel: 120 per notch, positive away from the user
    int X = 0, Y = 0;        // client coordinates
    // The packed form of the state: low 16 bits the mk* bits, high 16 bits
    // the wheel delta.
    uint32_t PackedState() const {
        return (Shift & 0xFFFFu) | (uint32_t(uint16_t(WheelDelta)) << 16);
    }
};

struct TMsg {
    uint32_t Message = msgNone;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    TMouseInfo Mouse;                 // mouse messages and drops
    int NewWidth = 0, NewHeight = 0;  // msgSizeChanging (writable)
    std::string Text;                 // msgChar
    std::vector<std::string> Files;   // msgDropFiles
    intptr_t Result = 0;              // answer a consuming hook may give
};

// A message hook: answers true when it consumed the message.
using TMessageHook = std::function<bool(TControl& sender, TMsg& msg)>;

// Calls the previous hook of a chain, when there is one.
inline bool PassMessage(const TMessageHook& previous, TControl& sender, TMsg& msg) {
    return previous ? previous(sender, msg) : false;
}

// Virtual key codes carried by key messages and slots.
enum : int {
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkMenu = 18,  // Alt
    vkPause = 19,
    vkCapital = 20,
    vkEscape = 27,
    vkSpace = 32,
    vkPrior = 33,
    vkNext = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
    // '0'..'9' are 48..57, 'A'..'Z' are 65..90
    vkNumpad0 = 96,
    vkMultiply = 106,
    vkAdd = 107,
    vkSubtract = 109,
    vkDecimal = 110,
    vkDivide = 111,
    vkF1 = 112,  // ... vkF1 + 23 = F24
};
// Qt key (Qt::Key value) to virtual key code; 0 for keys without one.
int QtKeyToVirtualKey(int qtKey, bool keypad = false);
// Virtual key code to Qt key; 0 when unknown.
int VirtualKeyToQtKey(int vk);
