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
