#pragma once
// The host's texts (UTF-8 in std::string, as the module and effects give them) as JUCE strings for
// the JSON the host writes, every byte kept, embedded zero bytes included.

#include <juce_core/juce_core.h>

#include <string>

namespace ombrelhost
{

inline juce::String Utf8String(const std::string& text)
{
    return juce::String::fromUTF8(text.c_str(), static_cast<int>(text.size()));
}

} // namespace ombrelhost
