#pragma once
// A channel configuration as the command line names it: a pair of stem formats from the table of
// named formats. "5.1" is 5.1 to 5.1, "mono-stereo" mono to stereo (see StemFormatNames.h).

#include "tools/host/session/StemFormatNames.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ombrelhost
{

struct ChannelLayout
{
    int32_t input = AAX_eStemFormat_Stereo;
    int32_t output = AAX_eStemFormat_Stereo;

    // The default description's three.
    static const ChannelLayout Mono;
    static const ChannelLayout MonoStereo;
    static const ChannelLayout Stereo;

    bool operator==(const ChannelLayout& other) const
    {
        return input == other.input && output == other.output;
    }
    bool operator!=(const ChannelLayout& other) const { return !(*this == other); }
};

// A layout's name with both formats in the table; nothing for any other text.
std::optional<ChannelLayout> ParseChannelLayout(const std::string& text);
// "stereo", "mono-stereo", "5.1"; "?" for a layout whose formats are not both in the table. The
// text is static.
const char* ChannelLayoutName(ChannelLayout layout);
int InputChannels(ChannelLayout layout);
int OutputChannels(ChannelLayout layout);
int32_t InputStemFormat(ChannelLayout layout);
int32_t OutputStemFormat(ChannelLayout layout);
// The layout of a component declaring these stem formats, if both are in the table.
std::optional<ChannelLayout> ChannelLayoutOfStemFormats(int32_t input, int32_t output);

} // namespace ombrelhost
