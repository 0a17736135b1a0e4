#include "aax_adapter/PlugInIdentityReader.h"

#include "aax_adapter/StemFormats.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace AAXClasses
{

namespace
{

// The channels every effect is driven with, whatever it declares.
constexpr int32_t kChannelsEveryEffectTakes = 2;
constexpr char kLowestPrintable = 0x20;
constexpr char kHighestPrintable = 0x7E;

// Thrown inside the reader only, at the first fault; the reader answers it as its result.
struct FaultFound
{
    IdentityFault fault;
};

[[noreturn]] void fail(const std::string& field, const std::string& fault)
{
    throw FaultFound{{field, fault}};
}

// A value as the file writes it, on one line.
std::string quoted(const juce::var& value)
{
    return juce::JSON::toString(value, true).toStdString();
}

const char* const kIdentityFields[] = {"name",     "shortNames",     "manufacturer",
                                       "effectId", "manufacturerId", "productId",
                                       "category", "version",        "configurations"};
const char* const kConfigurationFields[] = {"input", "output", "nativeId", "audioSuiteId"};

template <size_t N>
void rejectUnknownFields(juce::DynamicObject& object, const char* const (&known)[N],
                         const std::string& prefix)
{
    for (const juce::NamedValueSet::NamedValue& property : object.getProperties())
    {
        const std::string key = property.name.toString().toStdString();
        if (std::none_of(std::begin(known), std::end(known), [&](const char* field) { return key == field; }))
            fail(prefix + key, "is not a field of the identity file");
    }
}

std::string readName(const juce::var& value, const std::string& field)
{
    if (!value.isString())
        fail(field, quoted(value) + " is not a text");
    const std::string name = value.toString().toStdString();
    if (name.empty())
        fail(field, "the name is empty");
    if (name.size() > kMaxIdentityNameBytes)
        fail(field, quoted(value) + " is longer than " + std::to_string(kMaxIdentityNameBytes) + " bytes");
    return name;
}

AAX_CTypeID readCode(const juce::var& value, const std::string& field)
{
    const std::string text = value.isString() ? value.toString().toStdString() : std::string();
    const bool printable = std::all_of(
        text.begin(), text.end(), [](char c) { return c >= kLowestPrintable && c <= kHighestPrintable; });
    if (!value.isString() || text.size() != 4 || !printable)
        fail(field, quoted(value) + " is not four printable ASCII characters");
    return AAX_FourCC(text[0], text[1], text[2], text[3]);
}

uint32_t readUnsigned(const juce::var& value, const std::string& field)
{
    double number = -1.0;
    if (value.isInt() || value.isInt64())
        number = static_cast<double>(static_cast<juce::int64>(value));
    else if (value.isDouble())
        number = static_cast<double>(value);
    if (!(number >= 0.0 && number <= std::numeric_limits<uint32_t>::max()) || std::floor(number) != number)
        fail(field, quoted(value) + " is not a whole number from 0 to 4294967295");
    return static_cast<uint32_t>(number);
}

AAX_EStemFormat readStemFormat(const juce::var& value, const std::string& field)
{
    const AAX_EStemFormat format =
        value.isString() ? stemFormatForName(value.toString().toStdString()) : AAX_eStemFormat_None;
    if (format == AAX_eStemFormat_None)
        fail(field, quoted(value) + " is not a stem format (mono, stereo, lcr, lcrs, quad, 5.0, 5.1, 6.0, "
                                    "6.1, 7.0-sdds, 7.1-sdds, 7.0-dts, 7.1-dts)");
    return format;
}

const juce::var& required(juce::DynamicObject& object, const char* name, const std::string& field)
{
    if (!object.hasProperty(name))
        fail(field, "is missing");
    return object.getProperties()[name];
}

ChannelConfiguration readConfiguration(const juce::var& value, const std::string& field)
{
    juce::DynamicObject* object = value.getDynamicObject();
    if (object == nullptr)
        fail(field, quoted(value) + " is not an object");
    rejectUnknownFields(*object, kConfigurationFields, field + ".");
    ChannelConfiguration configuration{};
    configuration.inputFormat =
        readStemFormat(required(*object, "input", field + ".input"), field + ".input");
    configuration.outputFormat =
        readStemFormat(required(*object, "output", field + ".output"), field + ".output");
    configuration.nativePlugInID =
        readCode(required(*object, "nativeId", field + ".nativeId"), field + ".nativeId");
    configuration.audioSuitePlugInID =
        readCode(required(*object, "audioSuiteId", field + ".audioSuiteId"), field + ".audioSuiteId");
    return configuration;
}

std::string configurationField(size_t index, const char* name)
{
    return "configurations[" + std::to_string(index) + "]." + name;
}

// A renamed effect under a default identifier, or two configurations under one identifier, would
// be one plug-in to the host.
void checkIdentifiers(const PlugInIdentity& identity)
{
    std::vector<std::pair<std::string, AAX_CTypeID>> identifiers = {
        {"manufacturerId", identity.manufacturerId}, {"productId", identity.productId}};
    for (size_t c = 0; c < identity.configurations.size(); ++c)
    {
        identifiers.emplace_back(configurationField(c, "nativeId"),
                                 identity.configurations[c].nativePlugInID);
        identifiers.emplace_back(configurationField(c, "audioSuiteId"),
                                 identity.configurations[c].audioSuitePlugInID);
    }
    for (const auto& [field, code] : identifiers)
        if (isDefaultIdentifier(code))
            fail(field,
                 "\"" + fourCharacterText(code) +
                     "\" is an identifier of the default identity; an effect of its own needs its own");

    // The manufacturer and product ids name the company and the product, not a plug-in.
    constexpr size_t kFirstPlugInId = 2;
    std::map<AAX_CTypeID, std::string> plugInIds;
    for (size_t i = kFirstPlugInId; i < identifiers.size(); ++i)
    {
        const auto [existing, inserted] = plugInIds.emplace(identifiers[i].second, identifiers[i].first);
        if (!inserted)
            fail(identifiers[i].first, "\"" + fourCharacterText(identifiers[i].second) +
                                           "\" is used twice (also by " + existing->second + ")");
    }
}

PlugInIdentity readIdentity(const std::string& jsonText)
{
    juce::var root;
    const juce::Result parsed =
        juce::JSON::parse(juce::String::fromUTF8(jsonText.data(), static_cast<int>(jsonText.size())), root);
    if (parsed.failed())
        fail("",
             "is not JSON (" + parsed.getErrorMessage().replaceCharacters("\r\n", "  ").toStdString() + ")");
    juce::DynamicObject* object = root.getDynamicObject();
    if (object == nullptr)
        fail("", "is not a JSON object");
    rejectUnknownFields(*object, kIdentityFields, "");

    PlugInIdentity identity = PlugInIdentity::defaults();
    const juce::NamedValueSet& fields = object->getProperties();
    if (fields.contains("name"))
    {
        identity.name = readName(fields["name"], "name");
        // A name is its own short form unless the file gives others.
        identity.shortNames = {identity.name};
    }
    if (fields.contains("shortNames"))
    {
        const juce::Array<juce::var>* names = fields["shortNames"].getArray();
        if (names == nullptr)
            fail("shortNames", quoted(fields["shortNames"]) + " is not a list");
        identity.shortNames.clear();
        for (int i = 0; i < names->size(); ++i)
            identity.shortNames.push_back(
                readName(names->getReference(i), "shortNames[" + std::to_string(i) + "]"));
    }
    if (fields.contains("manufacturer"))
        identity.manufacturer = readName(fields["manufacturer"], "manufacturer");
    if (fields.contains("manufacturerId"))
        identity.manufacturerId = readCode(fields["manufacturerId"], "manufacturerId");
    if (fields.contains("productId"))
        identity.productId = readCode(fields["productId"], "productId");
    if (fields.contains("effectId"))
    {
        const juce::var& effectId = fields["effectId"];
        if (!effectId.isString() || effectId.toString().isEmpty())
            fail("effectId", quoted(effectId) + " is not a text");
        identity.effectId = effectId.toString().toStdString();
    }
    else if (identity.manufacturerId != PlugInIdentity::defaults().manufacturerId ||
             identity.productId != PlugInIdentity::defaults().productId)
    {
        identity.effectId = derivedEffectId(identity.manufacturerId, identity.productId);
    }
    if (fields.contains("category"))
        identity.category = readUnsigned(fields["category"], "category");
    if (fields.contains("version"))
        identity.version = readUnsigned(fields["version"], "version");
    if (fields.contains("configurations"))
    {
        const juce::Array<juce::var>* configurations = fields["configurations"].getArray();
        if (configurations == nullptr)
            fail("configurations", quoted(fields["configurations"]) + " is not a list");
        if (configurations->isEmpty())
            fail("configurations", "the list is empty");
        identity.configurations.clear();
        for (int i = 0; i < configurations->size(); ++i)
            identity.configurations.push_back(readConfiguration(configurations->getReference(i),
                                                                "configurations[" + std::to_string(i) + "]"));
    }

    // Restating the default identity is the default identity, shared identifier included.
    if (identity != PlugInIdentity::defaults())
        checkIdentifiers(identity);
    return identity;
}

} // namespace

IdentityReading readPlugInIdentity(const std::string& jsonText)
{
    IdentityReading reading;
    try
    {
        reading.identity = readIdentity(jsonText);
        reading.valid = true;
    }
    catch (const FaultFound& found)
    {
        reading.fault = found.fault;
    }
    return reading;
}

bool needsDeclaredChannels(const PlugInIdentity& identity)
{
    return std::any_of(
        identity.configurations.begin(), identity.configurations.end(),
        [](const ChannelConfiguration& configuration)
        {
            return channelCountForStemFormat(configuration.inputFormat) > kChannelsEveryEffectTakes ||
                   channelCountForStemFormat(configuration.outputFormat) > kChannelsEveryEffectTakes;
        });
}

bool checkDeclaredChannels(const PlugInIdentity& identity, int32_t declaredInputs, int32_t declaredOutputs,
                           const std::string& effectFileName, IdentityFault& fault)
{
    const int32_t inputs = std::max(declaredInputs, kChannelsEveryEffectTakes);
    const int32_t outputs = std::max(declaredOutputs, kChannelsEveryEffectTakes);
    for (size_t c = 0; c < identity.configurations.size(); ++c)
    {
        const ChannelConfiguration& configuration = identity.configurations[c];
        const struct
        {
            const char* side;
            AAX_EStemFormat format;
            int32_t offered;
            int32_t declared;
        } sides[] = {{"input", configuration.inputFormat, inputs, declaredInputs},
                     {"output", configuration.outputFormat, outputs, declaredOutputs}};
        for (const auto& side : sides)
        {
            const int32_t needed = channelCountForStemFormat(side.format);
            if (needed <= side.offered)
                continue;
            fault.field = configurationField(c, side.side);
            fault.fault = "\"" + std::string(stemFormatName(side.format)) + "\" needs " +
                          std::to_string(needed) + " channels, but " + effectFileName + " declares " +
                          std::to_string(side.declared) + " " + side.side + "s";
            return false;
        }
    }
    return true;
}

std::string identityFaultLine(const std::string& file, const IdentityFault& fault)
{
    std::string line = "Ombrel: " + file + ": ";
    if (!fault.field.empty())
        line += fault.field + ": ";
    return line + fault.fault;
}

} // namespace AAXClasses
