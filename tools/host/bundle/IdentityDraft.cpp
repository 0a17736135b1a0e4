#include "tools/host/bundle/IdentityDraft.h"

#include "tools/host/reports/Utf8String.h"
#include "tools/host/session/StemFormatNames.h"

#include <juce_core/juce_core.h>

namespace ombrelhost
{

namespace
{

constexpr size_t kShortNameLengths[] = {16, 8, 4};

bool IsContinuationByte(char byte)
{
    return (static_cast<uint8_t>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string BundleConfiguration::LayoutName() const
{
    return LayoutNameOf(input, output);
}

std::string IdentityDraft::ToJson() const
{
    auto root = std::make_unique<juce::DynamicObject>();
    root->setProperty("name", Utf8String(name));
    juce::Array<juce::var> shortNameList;
    for (const std::string& shortName : shortNames)
        shortNameList.add(Utf8String(shortName));
    root->setProperty("shortNames", shortNameList);
    root->setProperty("manufacturer", Utf8String(manufacturer));
    root->setProperty("manufacturerId", Utf8String(manufacturerId));
    root->setProperty("productId", Utf8String(productId));
    if (category)
        root->setProperty("category", static_cast<juce::int64>(*category));
    juce::Array<juce::var> configurationList;
    for (const BundleConfiguration& configuration : configurations)
    {
        auto entry = std::make_unique<juce::DynamicObject>();
        entry->setProperty("input", Utf8String(configuration.input));
        entry->setProperty("output", Utf8String(configuration.output));
        entry->setProperty("nativeId", Utf8String(configuration.nativeId));
        entry->setProperty("audioSuiteId", Utf8String(configuration.audioSuiteId));
        configurationList.add(juce::var(entry.release()));
    }
    root->setProperty("configurations", configurationList);
    return juce::JSON::toString(juce::var(root.release())).toStdString() + "\n";
}

std::vector<std::string> ShortNamesOf(const std::string& name)
{
    std::vector<std::string> shortNames;
    for (const size_t length : kShortNameLengths)
    {
        std::string cut = Utf8Prefix(name, length);
        while (!cut.empty() && cut.back() == ' ')
            cut.pop_back();
        if (cut.size() < name.size() && !cut.empty() && (shortNames.empty() || shortNames.back() != cut))
            shortNames.push_back(cut);
    }
    if (shortNames.empty())
        shortNames.push_back(name);
    return shortNames;
}

std::string Utf8Prefix(const std::string& text, size_t maximum)
{
    if (text.size() <= maximum)
        return text;
    size_t end = maximum;
    while (end > 0 && IsContinuationByte(text[end]))
        --end;
    return text.substr(0, end);
}

} // namespace ombrelhost
