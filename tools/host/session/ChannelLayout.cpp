#include "tools/host/session/ChannelLayout.h"

#include "aax_library/AAX_StemFormats.h"

#include <cstdio>

namespace ombrelhost
{

namespace
{
// Every layout with its command-line name, both read and shown.
struct NamedLayout
{
    ChannelLayout layout;
    const char* name;
};
constexpr NamedLayout kLayouts[] = {{ChannelLayout::Mono, "mono"},
                                    {ChannelLayout::MonoStereo, "mono-stereo"},
                                    {ChannelLayout::Stereo, "stereo"}};
} // namespace

std::optional<ChannelLayout> ParseChannelLayout(const std::string& text)
{
    for (const NamedLayout& entry : kLayouts)
        if (text == entry.name)
            return entry.layout;
    return std::nullopt;
}

const char* ChannelLayoutName(ChannelLayout layout)
{
    for (const NamedLayout& entry : kLayouts)
        if (entry.layout == layout)
            return entry.name;
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
    return InputChannels(layout) == 2 ? AAX_eStemFormat_Stereo : AAX_eStemFormat_Mono;
}

int32_t OutputStemFormat(ChannelLayout layout)
{
    return OutputChannels(layout) == 2 ? AAX_eStemFormat_Stereo : AAX_eStemFormat_Mono;
}

std::optional<ChannelLayout> ChannelLayoutOfStemFormats(int32_t input, int32_t output)
{
    for (const NamedLayout& entry : kLayouts)
        if (InputStemFormat(entry.layout) == input && OutputStemFormat(entry.layout) == output)
            return entry.layout;
    return std::nullopt;
}

std::string StemFormatName(int32_t stemFormat)
{
    struct Named
    {
        AAX_EStemFormat value;
        const char* name;
    };
    static const Named names[] = {
        {AAX_eStemFormat_Mono, "Mono"},         {AAX_eStemFormat_Stereo, "Stereo"},
        {AAX_eStemFormat_LCR, "LCR"},           {AAX_eStemFormat_LCRS, "LCRS"},
        {AAX_eStemFormat_Quad, "Quad"},         {AAX_eStemFormat_5_0, "5.0"},
        {AAX_eStemFormat_5_1, "5.1"},           {AAX_eStemFormat_6_0, "6.0"},
        {AAX_eStemFormat_6_1, "6.1"},           {AAX_eStemFormat_7_0_SDDS, "7.0 SDDS"},
        {AAX_eStemFormat_7_1_SDDS, "7.1 SDDS"}, {AAX_eStemFormat_7_0_DTS, "7.0 DTS"},
        {AAX_eStemFormat_7_1_DTS, "7.1 DTS"},   {AAX_eStemFormat_None, "None"},
    };
    for (const Named& named : names)
        if (named.value == stemFormat)
            return named.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(stemFormat));
    return text;
}

} // namespace ombrelhost
