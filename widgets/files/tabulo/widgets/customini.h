#pragma once
// The layout of "Custom.ini", the file of the Custom page's chart slots, for
// the viewer and every companion that writes a slot: 39 slots, slot k in
// section "B"k, its chart's file under "File" and its caption under
// "Caption". The file lies in the program folder, or in the user's copy of
// it by the program-file rule (ProgramFile, ProgramFileIn).

#include <string>
#include <string_view>

namespace customini {

inline constexpr std::string_view FileName = "Custom.ini";
// The mask the Custom page formats with the program folder as %1.
inline constexpr std::string_view FileMask = "%1Custom.ini";
inline constexpr int SlotCount = 39;
inline constexpr std::string_view FileKey = "File";
inline constexpr std::string_view CaptionKey = "Caption";

// "B1" .. "B39" for slot 1 .. 39.
inline std::string SlotSection(int slot) {
    return "B" + std::to_string(slot);
}

}  // namespace customini
