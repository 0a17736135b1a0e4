#pragma once
// The three channel configurations a module describes, as the command line names them.

#include <cstdint>
#include <optional>
#include <string>

namespace ombrelhost
{

enum class ChannelLayout
{
    Mono,       // 1 in, 1 out
    MonoStereo, // 1 in, 2 out
    Stereo,     // 2 in, 2 out
};

// "mono", "mono-stereo" or "stereo"; nothing for any other text.
std::optional<ChannelLayout> ParseChannelLayout(const std::string& text);
const char* ChannelLayoutName(ChannelLayout layout);
int InputChannels(ChannelLayout layout);
int OutputChannels(ChannelLayout layout);
int32_t InputStemFormat(ChannelLayout layout);
int32_t OutputStemFormat(ChannelLayout layout);
// The layout of a component declaring these stem formats, if it is one of the three.
std::optional<ChannelLayout> ChannelLayoutOfStemFormats(int32_t input, int32_t output);
// A readable name of a stem format value: "Mono", "Stereo", ... or its hexadecimal value.
std::string StemFormatName(int32_t stemFormat);

} // namespace ombrelhost
