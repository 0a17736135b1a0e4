#pragma once
// The stem formats a bundle's configurations and the host's layouts are named by: "mono", "stereo",
// "lcr", "lcrs", "quad", "5.0", "5.1", "6.0", "6.1", "7.0-sdds", "7.1-sdds", "7.0-dts", "7.1-dts".

#include "aax_library/AAX_StemFormats.h"

#include <optional>
#include <string>
#include <vector>

namespace ombrelhost
{

// Every named format, in the table's order.
const std::vector<AAX_EStemFormat>& NamedStemFormats();
// The format of a name; nothing for any other text.
std::optional<AAX_EStemFormat> StemFormatOfName(const std::string& name);
// The name of a format; empty for a format outside the table.
std::string NameOfStemFormat(int32_t stemFormat);
// A readable name: "Mono", "5.1", "7.0 SDDS", "None" or the value in hexadecimal.
std::string StemFormatName(int32_t stemFormat);

// A layout's name split into its two formats' names: "5.1" is 5.1 to 5.1, "mono-stereo" mono to
// stereo, "7.0-sdds-5.1" 7.0 SDDS to 5.1. A text whose parts name no format is split at the first
// '-' that leaves two parts (or not at all), so that the module can name the part it does not know.
void SplitLayoutName(const std::string& layout, std::string& input, std::string& output);
// The layout's name for two formats' names: one name when both are the same.
std::string LayoutNameOf(const std::string& input, const std::string& output);

} // namespace ombrelhost
