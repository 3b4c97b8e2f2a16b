#pragma once
// TKVHintManager: the program's one tooltip manager. Every visual component
// with a non-empty hint gets its own tip through it:
//
//   HintRecord = HintManager()->Register(Control, Hint);  // nullptr for ""
//   ...
//   HintManager()->DestroyTip(HintRecord);                 // on destruction
//
// A tip appears InitialDelay ms (500) after the pointer comes to rest over
// its window and disappears after AutoPop ms (5000), when the pointer leaves,
// on a click, a key or the wheel. It is drawn in the manager's font
// ("Tahoma" 8, the font system substituting a face it lacks) on the system
// tooltip colours, rectangular with a 1-pixel frame (Plain 1) or with
// rounded corners (Plain 0). The settings are read when a tip is made.
//
// The tracking operations (a tip shown at a position the program sets) do
// nothing while Tracking is 0, as it is in this program.

#include <cstdint>
#include <memory>
#include <string_view>

#include "tabulo/runtime/object.h"
#include "tabulo/runtime/text.h"
#include "tabulo/widgets/obj.h"
#include "tabulo/widgets/tooltip.h"

class TControl;

// The font record of the tips.
struct THintFont {
    TText Name = "Tahoma";
    uint8_t Size = 8;   // points
    uint8_t Style = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-out
    TColor Color = clInfoText;
    uint8_t Charset = 1;
};

class TKVHintManager : public TObject {
public:
    TKVHintManager();
    ~TKVHintManager() override;

    uint8_t Plain = 1;  // 1 rectangular, 0 balloon-shaped
    TColor Background = clInfoBk;
    int InitialDelay = 500;  // ms
    int AutoPop = 5000;      // ms
    int Margin = 0;          // pixels around the text, all four sides
    uint8_t Tracking = 0;
    THintFont Font;

    // The seven operations. CreateTip makes a tip for the control's window
    // (nullptr for no control or a control whose window is gone).
    TToolTip* CreateTip(TControl* owner);
    void DestroyTip(TToolTip* tip);
    void SetText(TToolTip* tip, std::string_view text);
    void SetTitle(TToolTip* tip, int icon, std::string_view title);
    void TrackActivate(TToolTip* tip, bool on);
    void TrackPosition(TToolTip* tip, int x, int y);

    // CreateTip and SetText in one; nullptr (and no tip) for an empty hint or
    // an owner without a window.
    TToolTip* Register(TControl* owner, std::string_view hint);

    // Number of live tips (for tests).
    int TipCount() const { return tips_; }

private:
    int tips_ = 0;
};

// Start-up: makes the manager with its defaults (once). Stop frees it.
void StartHintManager();
void StopHintManager();
// The manager; made with its defaults on first use if start-up did not.
TKVHintManager* HintManager();
