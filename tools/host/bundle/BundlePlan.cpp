#include "tools/host/bundle/BundlePlan.h"

#include "aax_adapter/PlugInIdentity.h"
#include "tools/host/reports/PlugInCategories.h"
#include "tools/host/session/StemFormatNames.h"
#include "tools/host/bundle/IdentifierDerivation.h"

#include <juce_core/juce_core.h>

#include <set>

namespace ombrelhost
{

namespace
{

constexpr const char* kDefaultLayouts[] = {"mono", "mono-stereo", "stereo"};

int ChannelsOf(const std::string& formatName)
{
    const auto format = StemFormatOfName(formatName);
    return format ? AAX_STEM_FORMAT_CHANNEL_COUNT(*format) : 0;
}

bool Serves(const EffectFacts& facts, const std::string& layout)
{
    std::string input, output;
    SplitLayoutName(layout, input, output);
    return ChannelsOf(input) > 0 && ChannelsOf(output) > 0 && ChannelsOf(input) <= facts.inputs &&
           ChannelsOf(output) <= facts.outputs;
}

std::vector<std::string> SplitList(const std::string& text)
{
    juce::StringArray parts;
    parts.addTokens(juce::String::fromUTF8(text.c_str()), ",", "");
    std::vector<std::string> list;
    for (const juce::String& part : parts)
        list.push_back(part.trim().toStdString());
    return list;
}

} // namespace

std::vector<std::string> DefaultLayoutsFor(const EffectFacts& facts)
{
    std::vector<std::string> layouts;
    for (const char* layout : kDefaultLayouts)
        if (Serves(facts, layout))
            layouts.emplace_back(layout);
    return layouts;
}

std::vector<std::string> LayoutsServedBy(const EffectFacts& facts)
{
    std::vector<std::string> layouts;
    for (const AAX_EStemFormat format : NamedStemFormats())
        if (Serves(facts, NameOfStemFormat(format)))
            layouts.push_back(NameOfStemFormat(format));
    return layouts;
}

// An effect's name or vendor longer than a host takes is cut to AAXClasses::kMaxIdentityNameBytes;
// the same given by the user is left for the module's check to refuse.
bool PlanBundle(const BundleRequest& request, const EffectFacts& facts, BundlePlan& plan, std::string& error)
{
    IdentityDraft& identity = plan.identity;
    plan.origins.clear();

    if (request.name)
    {
        identity.name = *request.name;
        plan.origins.emplace_back("name", "given");
    }
    else
    {
        identity.name = Utf8Prefix(facts.name, AAXClasses::kMaxIdentityNameBytes);
        if (identity.name.empty())
        {
            error = "the effect tells no name of its own: give one with --name";
            return false;
        }
        plan.origins.emplace_back("name", identity.name.size() < facts.name.size()
                                              ? "the effect's name, cut to " +
                                                    std::to_string(AAXClasses::kMaxIdentityNameBytes) +
                                                    " bytes"
                                              : "the effect's name");
    }
    identity.shortNames = ShortNamesOf(identity.name);

    if (request.manufacturer)
    {
        identity.manufacturer = *request.manufacturer;
        plan.origins.emplace_back("manufacturer", "given");
    }
    else if (!facts.vendor.empty())
    {
        identity.manufacturer = Utf8Prefix(facts.vendor, AAXClasses::kMaxIdentityNameBytes);
        plan.origins.emplace_back("manufacturer", "the effect's vendor");
    }
    else
    {
        identity.manufacturer = identity.name;
        plan.origins.emplace_back("manufacturer", "the name (the effect tells no vendor)");
    }

    if (request.manufacturerId)
    {
        identity.manufacturerId = *request.manufacturerId;
        plan.origins.emplace_back("manufacturer id", "given");
    }
    else
    {
        identity.manufacturerId = AAXClasses::fourCharacterText(DeriveManufacturerId(identity.manufacturer));
        plan.origins.emplace_back("manufacturer id", "derived from the manufacturer");
    }

    if (request.productId)
    {
        identity.productId = *request.productId;
        plan.origins.emplace_back("product id", "given");
    }
    else
    {
        const uint32_t productId = DeriveProductId(facts.uniqueId, identity.name);
        identity.productId = AAXClasses::fourCharacterText(productId);
        plan.origins.emplace_back("product id", productId == static_cast<uint32_t>(facts.uniqueId)
                                                    ? "the effect's unique identifier"
                                                    : "derived from the name");
    }

    if (request.category)
    {
        identity.category = ParseCategory(*request.category);
        if (!identity.category)
        {
            error = "--category `" + *request.category + "`: use a number or names joined by + (" +
                    CategoryNames() + ")";
            return false;
        }
        plan.origins.emplace_back("category", "given");
    }
    else
    {
        identity.category = CategoryOfVstCategory(facts.category);
        plan.origins.emplace_back("category",
                                  "from the effect's VST 2 category " + std::to_string(facts.category));
    }

    std::vector<std::string> layouts =
        request.layouts ? SplitList(*request.layouts) : DefaultLayoutsFor(facts);
    if (layouts.empty())
    {
        error = "the effect has " + std::to_string(facts.inputs) + " inputs and " +
                std::to_string(facts.outputs) +
                " outputs, which serve none of mono, mono-stereo and stereo: name its layouts with --layouts";
        return false;
    }
    plan.origins.emplace_back("layouts", request.layouts ? "given"
                                                         : "those of mono, mono-stereo and stereo the "
                                                           "effect's channels serve");
    identity.configurations.clear();
    std::set<uint32_t> taken;
    for (const std::string& layout : layouts)
    {
        BundleConfiguration configuration;
        SplitLayoutName(layout, configuration.input, configuration.output);
        const std::string layoutName = configuration.LayoutName();
        const uint32_t nativeId =
            DerivePlugInId(identity.manufacturerId, identity.productId, layoutName, false, taken);
        taken.insert(nativeId);
        const uint32_t audioSuiteId =
            DerivePlugInId(identity.manufacturerId, identity.productId, layoutName, true, taken);
        taken.insert(audioSuiteId);
        configuration.nativeId = AAXClasses::fourCharacterText(nativeId);
        configuration.audioSuiteId = AAXClasses::fourCharacterText(audioSuiteId);
        identity.configurations.push_back(configuration);
    }
    return true;
}

} // namespace ombrelhost
