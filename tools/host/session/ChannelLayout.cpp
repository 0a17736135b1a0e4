#include "tools/host/session/ChannelLayout.h"

#include <map>
#include <utility>

namespace ombrelhost
{

const ChannelLayout ChannelLayout::Mono{AAX_eStemFormat_Mono, AAX_eStemFormat_Mono};
const ChannelLayout ChannelLayout::MonoStereo{AAX_eStemFormat_Mono, AAX_eStemFormat_Stereo};
const ChannelLayout ChannelLayout::Stereo{AAX_eStemFormat_Stereo, AAX_eStemFormat_Stereo};

namespace
{

// Every pair of named formats with its name, made once, so that a name can be handed out as a
// static text.
const std::map<std::pair<int32_t, int32_t>, std::string>& LayoutNames()
{
    static const std::map<std::pair<int32_t, int32_t>, std::string> names = []
    {
        std::map<std::pair<int32_t, int32_t>, std::string> all;
        for (const AAX_EStemFormat input : NamedStemFormats())
            for (const AAX_EStemFormat output : NamedStemFormats())
                all[{input, output}] = LayoutNameOf(NameOfStemFormat(input), NameOfStemFormat(output));
        return all;
    }();
    return names;
}

} // namespace

std::optional<ChannelLayout> ParseChannelLayout(const std::string& text)
{
    std::string input, output;
    SplitLayoutName(text, input, output);
    return ChannelLayoutOfStemFormats(StemFormatOfName(input).value_or(AAX_eStemFormat_None),
                                      StemFormatOfName(output).value_or(AAX_eStemFormat_None));
}

const char* ChannelLayoutName(ChannelLayout layout)
{
    const auto found = LayoutNames().find({layout.input, layout.output});
    return found != LayoutNames().end() ? found->second.c_str() : "?";
}

int InputChannels(ChannelLayout layout)
{
    return AAX_STEM_FORMAT_CHANNEL_COUNT(layout.input);
}

int OutputChannels(ChannelLayout layout)
{
    return AAX_STEM_FORMAT_CHANNEL_COUNT(layout.output);
}

int32_t InputStemFormat(ChannelLayout layout)
{
    return layout.input;
}

int32_t OutputStemFormat(ChannelLayout layout)
{
    return layout.output;
}

std::optional<ChannelLayout> ChannelLayoutOfStemFormats(int32_t input, int32_t output)
{
    if (LayoutNames().count({input, output}) == 0)
        return std::nullopt;
    return ChannelLayout{input, output};
}

} // namespace ombrelhost
