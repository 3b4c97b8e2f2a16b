#pragma once
// Puts one chart on a slot of the viewer's Custom page: the picture goes to
// <chart folder>/custom/<key>.png and the slot's File and Caption are written
// into "Custom.ini" through the viewer's own INI code, File first.

#include <QString>

#include "tabulo/chartpack/rangefile.h"
#include "tabulo/widgets/customini.h"

namespace ranges {

inline constexpr int kCustomSlots = customini::SlotCount;

// Slot 1..39; on failure false with the reason, "Custom.ini" unchanged when
// the picture could not be written.
bool putOnCustomSlot(const chartpack::ChartPack& pack, int spot, int slot,
                     const QString& chartFolder, const QString& customIni, QString* error);

}  // namespace ranges
