#include "tabulo/components/iconanimation.h"

TkvIconAnimation::TkvIconAnimation() : Timer(std::make_unique<TTimer>(83)) {
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](TTimer&) { Tick(); };
}

TkvIconAnimation::~TkvIconAnimation() {
    Timer->SetEnabled(false);
    Timer->OnTimer = nullptr;
}

void TkvIconAnimation::Tick() {
    Timer->SetInterval(FrameInterval);
    if (!Frames || !ImageListGetIcon(*Frames, FrameIndex, iconSize_, CurrentFrame)) return;
    if (!Timer->Enabled()) return;
    if (++FrameIndex < ImageListCount(*Frames)) return;
    FrameIndex = 0;
    FireNull(onCycleEnd);
    if (Repeat && !StopRequested)
        Timer->SetInterval(CycleInterval);
    else
        Timer->SetEnabled(false);
}
