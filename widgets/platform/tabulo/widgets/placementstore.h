#pragma once
// The per-user window placement store (the registry of the Windows version).
//
// A placement key such as "Tabulo\ChartPlace" names a group of four integers
// Left, Top, Height and Width. On Linux they live in a QSettings INI file
// "<config>/Tabulo/placements.conf", <config> being $XDG_CONFIG_HOME (read at
// every call, so tests can point it at a temporary folder) or ~/.config; on
// Windows in HKEY_CURRENT_USER\Software\<key>. '\' and '/' both separate the
// parts of a key.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tabulo/widgets/obj.h"

struct TPlacementRecord {
    // Each value that is missing or not an integer stays empty.
    std::optional<int32_t> Left, Top, Height, Width;
};

// The file that holds the placements (Linux) or the registry path (Windows).
std::string PlacementStoreLocation();

// Reads the four values; returns whether the key exists with at least one of
// them.
bool ReadPlacement(std::string_view key, TPlacementRecord& out);

// Writes the four values in the order Left, Top, Height, Width; returns
// whether they reached the store.
bool WritePlacement(std::string_view key, int32_t left, int32_t top, int32_t height, int32_t width);

// The four values of the INI form of a placement (section of an INI file);
// a missing key reads as the current value.
TPlacementRecord ReadIniPlacement(std::string_view file, std::string_view section,
                                  const TRect& current);

// Where a window goes when its saved placement is restored: the saved values
// over the current ones, made safe for the area (AvailableScreenArea). A
// stored size or position may come from another screen, another program or
// a damaged file: the window is never larger than the area nor smaller than
// 1 x 1, its top edge (the title bar) lies inside the area, and at least
// kPlacementGrip pixels of its width stay inside it. An empty area leaves
// the values as they are.
inline constexpr int kPlacementGrip = 64;
TRect RestoredPlacement(const TPlacementRecord& saved, const TRect& current, const TRect& area);
