#pragma once
// The plug-in categories a description hands to AddCategory: one bit each, as hosts sort their
// plug-in menus by them. Read from and shown as names ("Reverb", "EQ+Dynamics") or numbers.

#include <cstdint>
#include <optional>
#include <string>

namespace ombrelhost
{

// "16 (Delay)": the number and the names of its bits.
std::string CategoryText(uint32_t category);
// A number, or names joined by '+' in any letter case ("reverb", "EQ+Dynamics"); nothing for a
// text that is neither or names no category.
std::optional<uint32_t> ParseCategory(const std::string& text);
// The names a user may type, separated by ", ".
std::string CategoryNames();
// The category closest to an effect's VST 2 category (effGetPlugCategory); "Effect" when none is.
uint32_t CategoryOfVstCategory(int32_t vstCategory);

} // namespace ombrelhost
