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
    if (!Frames || FrameIndex < 0 || std::size_t(FrameIndex) >= Frames->size()) return;
    QImage frame = (*Frames)[std::size_t(FrameIndex)];
    if (!frame.isNull() && (frame.width() != iconSize_ || frame.height() != iconSize_))
        frame = frame.scaled(iconSize_, iconSize_);
    CurrentFrame.SetImage(frame);
    CurrentFrame.SetSize(iconSize_);
    if (!Timer->Enabled()) return;
    if (++FrameIndex < int32_t(Frames->size())) return;
    FrameIndex = 0;
    FireNull(onCycleEnd);
    if (Repeat && !StopRequested)
        Timer->SetInterval(CycleInterval);
    else
        Timer->SetEnabled(false);
}
