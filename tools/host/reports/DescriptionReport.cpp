#include "tools/host/reports/DescriptionReport.h"

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Properties.h"
#include "platform/BigEndian.h"
#include "tools/host/session/ChannelLayout.h"
#include "tools/host/reports/PlugInCategories.h"
#include "tools/host/reports/QuotedText.h"

#include <juce_core/juce_core.h>

#include <cstdio>

namespace ombrelhost
{

namespace
{

bool IsFourCharProperty(int32_t id)
{
    return id == AAX_eProperty_ManufacturerID || id == AAX_eProperty_ProductID ||
           id == AAX_eProperty_PlugInID_Native || id == AAX_eProperty_PlugInID_AudioSuite;
}

bool IsStemFormatProperty(int32_t id)
{
    return id == AAX_eProperty_InputStemFormat || id == AAX_eProperty_OutputStemFormat;
}

std::string Hex(uint64_t value, int digits)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string ProcName(int32_t procId)
{
    switch (procId)
    {
    case kAAX_ProcPtrID_Create_EffectParameters:
        return "data-model factory";
    case kAAX_ProcPtrID_Create_EffectGUI:
        return "GUI factory";
    default:
        return "procedure";
    }
}

std::string PropertyValueText(int32_t id, int32_t value)
{
    if (IsFourCharProperty(id))
        return DescriptionReport::FourCharText(static_cast<uint32_t>(value));
    if (IsStemFormatProperty(id))
        return StemFormatName(value) + " (" + Hex(static_cast<uint32_t>(value), 8) + ")";
    return std::to_string(value);
}

int64_t Value(const testhost::FieldDeclaration& field, size_t index)
{
    return index < field.values.size() ? field.values[index] : 0;
}

std::string FieldText(const testhost::FieldDeclaration& field)
{
    const std::string& kind = field.kind;
    if (kind == "AudioIn")
        return "audio input channels";
    if (kind == "AudioOut")
        return "audio output channels";
    if (kind == "AudioBufferLength")
        return "block length";
    if (kind == "DataInPort")
        return "data-in port, packets of " + std::to_string(Value(field, 0)) + " bytes, " +
               (Value(field, 1) == AAX_eDataInPortType_Buffered ? "buffered"
                                                                : "type " + std::to_string(Value(field, 1)));
    if (kind == "MIDINode")
        return "MIDI node " + QuotedText(field.name) + ", " +
               (Value(field, 0) == AAX_eMIDINodeType_LocalInput ? "local input"
                                                                : "type " + std::to_string(Value(field, 0))) +
               ", channels " + Hex(static_cast<uint64_t>(Value(field, 1)), 4);
    if (kind == "PrivateData")
        return "private data, " + std::to_string(Value(field, 0)) + " bytes, options " +
               std::to_string(Value(field, 1));
    std::string text = kind;
    for (int64_t value : field.values)
        text += " " + std::to_string(value);
    if (!field.name.empty())
        text += " " + QuotedText(field.name);
    return text;
}

std::string LayoutText(const testhost::ComponentDescription& component)
{
    const int32_t in = component.Property(AAX_eProperty_InputStemFormat, 0);
    const int32_t out = component.Property(AAX_eProperty_OutputStemFormat, 0);
    std::string text = StemFormatName(in) + " -> " + StemFormatName(out);
    if (auto layout = ChannelLayoutOfStemFormats(in, out))
        text += " (--layout " + std::string(ChannelLayoutName(*layout)) + ")";
    return text;
}

juce::var StringArray(const std::vector<std::string>& texts)
{
    juce::Array<juce::var> array;
    for (const std::string& text : texts)
        array.add(juce::String::fromUTF8(text.c_str()));
    return array;
}

} // namespace

std::string DescriptionReport::FourCharText(uint32_t code)
{
    // A four-character code reads as its characters in big-endian order.
    uint8_t characters[4];
    BigEndian::writeUint32(characters, code);
    for (const uint8_t character : characters)
        if (character < 0x20 || character > 0x7E)
            return Hex(code, 8);
    return "'" + std::string(characters, characters + sizeof(characters)) + "' (" + Hex(code, 8) + ")";
}

std::string DescriptionReport::PropertyName(int32_t id)
{
    switch (id)
    {
    case AAX_eProperty_ManufacturerID:
        return "ManufacturerID";
    case AAX_eProperty_ProductID:
        return "ProductID";
    case AAX_eProperty_PlugInID_Native:
        return "PlugInID_Native";
    case AAX_eProperty_PlugInID_AudioSuite:
        return "PlugInID_AudioSuite";
    case AAX_eProperty_InputStemFormat:
        return "InputStemFormat";
    case AAX_eProperty_OutputStemFormat:
        return "OutputStemFormat";
    case AAX_eProperty_CanBypass:
        return "CanBypass";
    case AAX_eProperty_Constraint_MultiMonoSupport:
        return "Constraint_MultiMonoSupport";
    default:
        return "property " + std::to_string(id);
    }
}

std::string DescriptionReport::Text(const ModuleSession& session)
{
    const testhost::ScanResult& scan = session.Scan();
    const testhost::Description& description = scan.description;
    std::string text;
    text += "module           " + session.ModulePath() + "\n";
    text += "SDK version      " + Hex(scan.sdkVersion, 12) + " (library " + Hex(scan.sdkVersion >> 32, 4) +
            ", revision " + std::to_string(scan.sdkVersion & 0xFFFFFFFFu) + ")\n";
    text += "manufacturer     " + QuotedText(description.manufacturerName) + "\n";
    std::string packages;
    for (const std::string& name : description.packageNames)
        packages += (packages.empty() ? "" : ", ") + QuotedText(name);
    text += "package names    " + packages + "\n";
    const uint32_t version = description.packageVersion;
    text += "package version  " + std::to_string(version >> 16) + "." +
            std::to_string((version >> 8) & 0xFF) + "." + std::to_string(version & 0xFF) + " (" +
            Hex(version, 8) + ")\n";
    for (const testhost::EffectDescription& effect : description.effects)
    {
        text += "\neffect " + QuotedText(effect.effectId) + "\n";
        std::string names;
        for (const std::string& name : effect.names)
            names += (names.empty() ? "" : ", ") + QuotedText(name);
        text += "  names          " + names + "\n";
        for (uint32_t category : effect.categories)
            text += "  category       " + CategoryText(category) + "\n";
        for (const testhost::ProcPtrDeclaration& proc : effect.procPtrs)
            text += "  procedure      " + std::to_string(proc.procId) + ": " + ProcName(proc.procId) + "\n";
        for (size_t c = 0; c < effect.components.size(); ++c)
        {
            const testhost::ComponentDescription& component = effect.components[c];
            text += "  component " + std::to_string(c) + "    " + LayoutText(component) + "\n";
            for (const testhost::FieldDeclaration& field : component.fields)
                text += "    field " + std::to_string(field.field) + "      " + FieldText(field) + "\n";
            for (const auto& [id, value] : component.properties)
            {
                std::string name = PropertyName(id) + " (" + std::to_string(id) + ")";
                name.resize(std::max<size_t>(name.size(), 36), ' ');
                text += "    property   " + name + PropertyValueText(id, value) + "\n";
            }
            text += std::string("    process    ") + (component.process != nullptr ? "native" : "none") +
                    (component.instanceInit != nullptr ? ", instance init" : "") +
                    (component.background != nullptr ? ", background" : "") + "\n";
        }
    }
    return text;
}

std::string DescriptionReport::Json(const ModuleSession& session)
{
    const testhost::ScanResult& scan = session.Scan();
    const testhost::Description& description = scan.description;
    auto* root = new juce::DynamicObject();
    juce::var rootVar(root);
    root->setProperty("module", juce::String::fromUTF8(session.ModulePath().c_str()));
    root->setProperty("sdkVersion", juce::String(Hex(scan.sdkVersion, 12)));
    root->setProperty("manufacturer", juce::String::fromUTF8(description.manufacturerName.c_str()));
    root->setProperty("packageNames", StringArray(description.packageNames));
    root->setProperty("packageVersion", static_cast<juce::int64>(description.packageVersion));
    juce::Array<juce::var> effects;
    for (const testhost::EffectDescription& effect : description.effects)
    {
        auto* effectObject = new juce::DynamicObject();
        effectObject->setProperty("effectId", juce::String::fromUTF8(effect.effectId.c_str()));
        effectObject->setProperty("names", StringArray(effect.names));
        juce::Array<juce::var> categories;
        for (uint32_t category : effect.categories)
            categories.add(static_cast<juce::int64>(category));
        effectObject->setProperty("categories", categories);
        juce::Array<juce::var> procs;
        for (const testhost::ProcPtrDeclaration& proc : effect.procPtrs)
        {
            auto* procObject = new juce::DynamicObject();
            procObject->setProperty("id", proc.procId);
            procObject->setProperty("kind", juce::String(ProcName(proc.procId)));
            procs.add(juce::var(procObject));
        }
        effectObject->setProperty("procedures", procs);
        juce::Array<juce::var> components;
        for (const testhost::ComponentDescription& component : effect.components)
        {
            auto* componentObject = new juce::DynamicObject();
            const int32_t in = component.Property(AAX_eProperty_InputStemFormat, 0);
            const int32_t out = component.Property(AAX_eProperty_OutputStemFormat, 0);
            if (auto layout = ChannelLayoutOfStemFormats(in, out))
                componentObject->setProperty("layout", juce::String(ChannelLayoutName(*layout)));
            componentObject->setProperty("inputStemFormat", juce::String(StemFormatName(in)));
            componentObject->setProperty("outputStemFormat", juce::String(StemFormatName(out)));
            juce::Array<juce::var> fields;
            for (const testhost::FieldDeclaration& field : component.fields)
            {
                auto* fieldObject = new juce::DynamicObject();
                fieldObject->setProperty("field", field.field);
                fieldObject->setProperty("kind", juce::String(field.kind));
                juce::Array<juce::var> values;
                for (int64_t value : field.values)
                    values.add(static_cast<juce::int64>(value));
                fieldObject->setProperty("values", values);
                if (!field.name.empty())
                    fieldObject->setProperty("name", juce::String::fromUTF8(field.name.c_str()));
                fields.add(juce::var(fieldObject));
            }
            componentObject->setProperty("fields", fields);
            juce::Array<juce::var> properties;
            for (const auto& [id, value] : component.properties)
            {
                auto* propertyObject = new juce::DynamicObject();
                propertyObject->setProperty("id", id);
                propertyObject->setProperty("name", juce::String(PropertyName(id)));
                propertyObject->setProperty("value", value);
                if (IsFourCharProperty(id) || IsStemFormatProperty(id))
                    propertyObject->setProperty("text", juce::String(PropertyValueText(id, value)));
                properties.add(juce::var(propertyObject));
            }
            componentObject->setProperty("properties", properties);
            componentObject->setProperty("nativeProcess", component.process != nullptr);
            components.add(juce::var(componentObject));
        }
        effectObject->setProperty("components", components);
        effects.add(juce::var(effectObject));
    }
    root->setProperty("effects", effects);
    return juce::JSON::toString(rootVar).toStdString() + "\n";
}

} // namespace ombrelhost
