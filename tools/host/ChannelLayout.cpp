#include "tools/host/ChannelLayout.h"

#include <cstdio>

namespace ombrelhost
{

std::optional<ChannelLayout> ParseChannelLayout(const std::string& text)
{
    if (text == "mono")
        return ChannelLayout::Mono;
    if (text == "mono-stereo")
        return ChannelLayout::MonoStereo;
    if (text == "stereo")
        return ChannelLayout::Stereo;
    return std::nullopt;
}

const char* ChannelLayoutName(ChannelLayout layout)
{
    switch (layout)
    {
    case ChannelLayout::Mono:
        return "mono";
    case ChannelLayout::MonoStereo:
        return "mono-stereo";
    case ChannelLayout::Stereo:
        return "stereo";
    }
    return "?";
}

int InputChannels(ChannelLayout layout)
{
    return layout == ChannelLayout::Stereo ? 2 : 1;
}

int OutputChannels(ChannelLayout layout)
{
    return layout == ChannelLayout::Mono ? 1 : 2;
}

int32_t InputStemFormat(ChannelLayout layout)
{
    return InputChannels(layout) == 2 ? kStemFormatStereo : kStemFormatMono;
}

int32_t OutputStemFormat(ChannelLayout layout)
{
    return OutputChannels(layout) == 2 ? kStemFormatStereo : kStemFormatMono;
}

std::optional<ChannelLayout> ChannelLayoutOfStemFormats(int32_t input, int32_t output)
{
    for (ChannelLayout layout : {ChannelLayout::Mono, ChannelLayout::MonoStereo, ChannelLayout::Stereo})
        if (InputStemFormat(layout) == input && OutputStemFormat(layout) == output)
            return layout;
    return std::nullopt;
}

std::string StemFormatName(int32_t stemFormat)
{
    struct Named
    {
        uint32_t value;
        const char* name;
    };
    static const Named names[] = {
        {0x00000001u, "Mono"},     {0x00010002u, "Stereo"},   {0x00020003u, "LCR"},
        {0x00030004u, "LCRS"},     {0x00040004u, "Quad"},     {0x00050005u, "5.0"},
        {0x00060006u, "5.1"},      {0x00070006u, "6.0"},      {0x00080007u, "6.1"},
        {0x00090007u, "7.0 SDDS"}, {0x000A0008u, "7.1 SDDS"}, {0x000B0007u, "7.0 DTS"},
        {0x000C0008u, "7.1 DTS"},  {0xFF9C0000u, "None"},
    };
    for (const Named& named : names)
        if (named.value == static_cast<uint32_t>(stemFormat))
            return named.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(stemFormat));
    return text;
}

} // namespace ombrelhost
