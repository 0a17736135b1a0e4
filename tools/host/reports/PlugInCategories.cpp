#include "tools/host/reports/PlugInCategories.h"

#include "tools/host/commands/ArgumentValues.h"
#include "vst2/Vst2Interface.h"

#include <juce_core/juce_core.h>

#include <limits>

namespace ombrelhost
{

namespace
{

// Bit n of a category is the n-th name.
constexpr const char* kCategoryNames[] = {
    "EQ",           "Dynamics",     "PitchShift",     "Reverb", "Delay",
    "Modulation",   "Harmonic",     "NoiseReduction", "Dither", "SoundField",
    "HWGenerators", "SWGenerators", "WrappedPlugin",  "Effect"};
constexpr size_t kCategoryCount = sizeof kCategoryNames / sizeof kCategoryNames[0];

uint32_t CategoryNamed(const char* name)
{
    for (size_t bit = 0; bit < kCategoryCount; ++bit)
        if (juce::String(kCategoryNames[bit]) == name)
            return 1u << bit;
    return 0;
}

} // namespace

std::string CategoryText(uint32_t category)
{
    std::string text;
    for (size_t bit = 0; bit < kCategoryCount; ++bit)
        if ((category & (1u << bit)) != 0)
            text += (text.empty() ? "" : "+") + std::string(kCategoryNames[bit]);
    return std::to_string(category) + (text.empty() ? "" : " (" + text + ")");
}

std::optional<uint32_t> ParseCategory(const std::string& text)
{
    long number = 0;
    if (ParseInteger(text, 1, std::numeric_limits<int32_t>::max(), number))
        return static_cast<uint32_t>(number);
    uint32_t category = 0;
    juce::StringArray names;
    names.addTokens(juce::String::fromUTF8(text.c_str()), "+", "");
    for (const juce::String& name : names)
    {
        uint32_t bit = 0;
        for (size_t index = 0; index < kCategoryCount && bit == 0; ++index)
            if (name.trim().equalsIgnoreCase(kCategoryNames[index]))
                bit = 1u << index;
        if (bit == 0)
            return std::nullopt;
        category |= bit;
    }
    if (category == 0)
        return std::nullopt;
    return category;
}

std::string CategoryNames()
{
    std::string text;
    for (const char* name : kCategoryNames)
        text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

uint32_t CategoryOfVstCategory(int32_t vstCategory)
{
    switch (vstCategory)
    {
    case kPlugCategRoomFx:
        return CategoryNamed("Reverb");
    case kPlugCategSpacializer:
    case kPlugSurroundFx:
        return CategoryNamed("SoundField");
    case kPlugCategRestoration:
        return CategoryNamed("NoiseReduction");
    case kPlugCategSynth:
    case kPlugCategGenerator:
        return CategoryNamed("SWGenerators");
    default:
        return CategoryNamed("Effect");
    }
}

} // namespace ombrelhost
