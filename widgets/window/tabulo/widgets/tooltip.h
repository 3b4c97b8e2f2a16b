#pragma once
// The tooltip control: a small top-level tip window that belongs to one
// owner control and shows a text near the pointer.
//
// A tip is described by a TToolTip record (the tool description).
// CreateTipWindow ties it to the owner's window and watches the owner from
// then on; the tip window itself (hidden, a child of the owner's window) is
// made on first use: when the tip first shows, or when the record's
// TipWindow is first read. A form with hundreds of hinted controls thus
// starts without hundreds of windows.
//   - the pointer entering or moving over the owner (re)starts the initial
//     delay; when it runs out with the owner visible and a text set, the tip
//     appears below the pointer, kept on the screen;
//   - it disappears after the auto-pop delay, or at once when the pointer
//     leaves, on a button press, a double click, the wheel, a key, when the
//     owner hides or its window is deactivated;
//   - the toolkit's own tooltips of the owner are suppressed.
// When the owner's window goes first, the tip window goes with it: the
// record's Owner and TipWindow become null and every operation below does
// nothing for it until DestroyTipWindow.
//
// Look: the tip's font, its text and background colours (0x00BBGGRR or
// system colours such as clInfoText / clInfoBk), a 1-pixel frame in the text
// colour, square corners or rounded ones (balloon), 2 pixels of padding plus
// the margin on all four sides.

#include <cstddef>
#include <cstdint>

#include "tabulo/runtime/text.h"
#include "tabulo/widgets/graphics.h"

class QLabel;
class QWidget;
class TControl;
class TTipController;

// The record's tip window: reads like a `QLabel*` (null before
// CreateTipWindow and once the owner's window is gone); reading it makes the
// window if it is not made yet.
class TTipWindowRef {
public:
    QLabel* get() const;
    operator QLabel*() const { return get(); }
    QLabel* operator->() const { return get(); }
    friend bool operator==(const TTipWindowRef& a, const QLabel* b) { return a.get() == b; }
    friend bool operator==(const TTipWindowRef& a, QLabel* b) { return a.get() == b; }
    friend bool operator==(const TTipWindowRef& a, std::nullptr_t) { return !a.get(); }
    // Forgets the window (it stays its controller's).
    TTipWindowRef& operator=(std::nullptr_t) {
        controller_ = nullptr;
        return *this;
    }

private:
    friend class TTipController;
    TTipController* controller_ = nullptr;
};

// The tool description of one tip.
struct TToolTip {
    uint32_t Size = 44;
    uint32_t Flags = 0x111;    // identify by window, subclass the owner, transparent
    QWidget* Owner = nullptr;  // the owner's window (null once it is gone)
    TText Text;                // shown by UpdateTipText; empty: the tip never shows
    TText Title;               // bold first line when not empty
    int TitleIcon = 0;
    TTipWindowRef TipWindow;  // the tip's own window (null once the owner is gone)
    TTipController* Controller = nullptr;
};

// Makes the tip window for `owner` (hidden; square corners, or rounded when
// `balloon`), with the system tooltip colours, no margin and the delays 500
// and 5000 ms until set otherwise. False (and nothing made) without an owner
// window, or when the record already has a tip window.
bool CreateTipWindow(TToolTip& tip, TControl* owner, bool balloon = false);
// Frees the tip window (if the owner has not taken it already); the record
// itself stays the caller's.
void DestroyTipWindow(TToolTip& tip);

// The tip's font (name, size, style bits, character set; its colour is not
// used: see SetTipColors).
void SetTipFont(TToolTip& tip, const TGraphicTool& font);
void SetTipColors(TToolTip& tip, TColor text, TColor background);
// Milliseconds from the pointer coming to rest to the tip, and how long the
// tip stays.
void SetTipDelays(TToolTip& tip, int initial, int autoPop);
// Pixels between the frame and the text, on all four sides (besides the
// 2-pixel padding of every tip).
void SetTipMargin(TToolTip& tip, int margin);
// Shows the record's Title and Text in the tip window; a tip whose text
// became empty hides.
void UpdateTipText(TToolTip& tip);

// Tracking: shows the tip at once where it stands (true) or hides it
// (false); moves the tip window to a screen position.
void TrackTip(TToolTip& tip, bool on);
void TrackTipPosition(TToolTip& tip, int x, int y);
