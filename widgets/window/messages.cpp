// Virtual key codes and Qt keys.

#include "tabulo/widgets/messages.h"

#include <Qt>

int QtKeyToVirtualKey(int k, bool keypad) {
    if (keypad && k >= Qt::Key_0 && k <= Qt::Key_9) return vkNumpad0 + (k - Qt::Key_0);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vkF1 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace:
            return vkBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return vkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vkReturn;
        case Qt::Key_Shift:
            return vkShift;
        case Qt::Key_Control:
            return vkControl;
        case Qt::Key_Alt:
            return vkMenu;
        case Qt::Key_Pause:
            return vkPause;
        case Qt::Key_CapsLock:
            return vkCapital;
        case Qt::Key_Escape:
            return vkEscape;
        case Qt::Key_Space:
            return vkSpace;
        case Qt::Key_PageUp:
            return vkPrior;
        case Qt::Key_PageDown:
            return vkNext;
        case Qt::Key_End:
            return vkEnd;
        case Qt::Key_Home:
            return vkHome;
        case Qt::Key_Left:
            return vkLeft;
        case Qt::Key_Up:
            return vkUp;
        case Qt::Key_Right:
            return vkRight;
        case Qt::Key_Down:
            return vkDown;
        case Qt::Key_Insert:
            return vkInsert;
        case Qt::Key_Delete:
            return vkDelete;
        case Qt::Key_Asterisk:
            return keypad ? vkMultiply : 0;
        case Qt::Key_Plus:
            return keypad ? vkAdd : 0xBB;
        case Qt::Key_Minus:
            return keypad ? vkSubtract : 0xBD;
        case Qt::Key_Period:
            return keypad ? vkDecimal : 0xBE;
        case Qt::Key_Slash:
            return keypad ? vkDivide : 0xBF;
        case Qt::Key_Comma:
            return 0xBC;
        default:
            return 0;
    }
}

int VirtualKeyToQtKey(int vk) {
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= vkNumpad0 && vk <= vkNumpad0 + 9) return Qt::Key_0 + (vk - vkNumpad0);
    if (vk >= vkF1 && vk < vkF1 + 24) return Qt::Key_F1 + (vk - vkF1);
    switch (vk) {
        case vkBack:
            return Qt::Key_Backspace;
        case vkTab:
            return Qt::Key_Tab;
        case vkReturn:
            return Qt::Key_Return;
        case vkShift:
            return Qt::Key_Shift;
        case vkControl:
            return Qt::Key_Control;
        case vkMenu:
            return Qt::Key_Alt;
        case vkEscape:
            return Qt::Key_Escape;
        case vkSpace:
            return Qt::Key_Space;
        case vkPrior:
            return Qt::Key_PageUp;
        case vkNext:
            return Qt::Key_PageDown;
        case vkEnd:
            return Qt::Key_End;
        case vkHome:
            return Qt::Key_Home;
        case vkLeft:
            return Qt::Key_Left;
        case vkUp:
            return Qt::Key_Up;
        case vkRight:
            return Qt::Key_Right;
        case vkDown:
            return Qt::Key_Down;
        case vkInsert:
            return Qt::Key_Insert;
        case vkDelete:
            return Qt::Key_Delete;
        default:
            return 0;
    }
}
