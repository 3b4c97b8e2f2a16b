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
#include <span>
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

// Where a window goes on the desktop's monitors (their usable areas,
// MonitorAreas, primary first): it keeps to the monitor that holds most of
// it, the first of equals. There the window is never larger than the area
// nor smaller than 1 x 1, its top edge (the title bar) lies inside the area
// and at least kPlacementGrip pixels of its width stay inside it, so a
// window partly off the edge on purpose stays where it is. A window that no
// monitor holds any of (its monitor was removed, or the values are damaged)
// moves wholly onto the nearest monitor, as far as it fits. Without
// monitors the window stays where it is.
inline constexpr int kPlacementGrip = 64;
TRect KeepOnMonitors(const TRect& window, std::span<const TRect> monitors);
// Whether some monitor shows part of the window (always without monitors).
bool OnSomeMonitor(const TRect& window, std::span<const TRect> monitors);

// Where a window goes when its saved placement is restored: the saved values
// over the current ones, kept on the monitors by KeepOnMonitors. A stored
// size or position may come from another desktop, another program or a
// damaged file; no value overflows.
TRect RestoredPlacement(const TPlacementRecord& saved, const TRect& current,
                        std::span<const TRect> monitors);
