#pragma once
// TkvIconAnimation: shows the frames of an image list one after another as
// an icon, on a timer. Created stopped (83 ms, disabled); nothing in this
// program starts it.
//
// Each tick sets the timer to FrameInterval and, when a frame list is set
// and FrameIndex is valid, makes the frame's icon (CurrentFrame) and moves to
// the next frame. After the last frame the index returns to 0, onCycleEnd
// fires with NULL and the timer stops, unless Repeat is set and no stop was
// requested, in which case the next cycle starts after CycleInterval.

#include <cstdint>
#include <memory>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"
#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/icon.h"
#include "tabulo/widgets/imagelist.h"
#include "tabulo/widgets/timer.h"

class TkvIconAnimation : public TObject {
public:
    TkvIconAnimation();
    ~TkvIconAnimation() override;

    std::unique_ptr<TTimer> Timer;
    TIcon CurrentFrame;
    int32_t FrameIndex = 0;
    const TImageList* Frames = nullptr;  // the frame list, not owned
    const TImageList* Masks = nullptr;   // the mask list, not owned
    TIcon Icon;                          // the icon frames are built on
    TBitmap FrameImage;                  // scratch picture of a frame (empty)
    int32_t FrameInterval = 83;
    int32_t CycleInterval = 1000;
    bool Repeat = false;
    bool StopRequested = false;
    TKV_Event onCycleEnd;

    // Icon size; a value below 16 means the platform's icon size (32).
    int32_t IconSize() const { return iconSize_; }
    void SetIconSize(int32_t size) { iconSize_ = size < 16 ? 32 : size; }

    // One timer tick.
    void Tick();

private:
    int32_t iconSize_ = 32;
};
