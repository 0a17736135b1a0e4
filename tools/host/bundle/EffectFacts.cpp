#include "tools/host/bundle/EffectFacts.h"

#include <juce_core/juce_core.h>

namespace ombrelhost
{

std::string EffectFacts::ToJson() const
{
    auto object = std::make_unique<juce::DynamicObject>();
    object->setProperty("name", juce::String::fromUTF8(name.c_str()));
    object->setProperty("vendor", juce::String::fromUTF8(vendor.c_str()));
    object->setProperty("uniqueId", static_cast<juce::int64>(uniqueId));
    object->setProperty("inputs", inputs);
    object->setProperty("outputs", outputs);
    object->setProperty("latency", latency);
    object->setProperty("category", category);
    return juce::JSON::toString(juce::var(object.release()), true).toStdString();
}

bool EffectFacts::FromJson(const std::string& json, EffectFacts& facts, std::string& error)
{
    juce::var root;
    if (!juce::JSON::parse(juce::String::fromUTF8(json.c_str()), root).wasOk() || !root.isObject())
    {
        error = "the effect's answers could not be read";
        return false;
    }
    for (const char* field : {"name", "vendor", "uniqueId", "inputs", "outputs", "latency", "category"})
        if (!root.hasProperty(field))
        {
            error = std::string("the effect's answers lack ") + field;
            return false;
        }
    facts.name = root["name"].toString().toStdString();
    facts.vendor = root["vendor"].toString().toStdString();
    facts.uniqueId = static_cast<int32_t>(static_cast<juce::int64>(root["uniqueId"]));
    facts.inputs = static_cast<int32_t>(root["inputs"]);
    facts.outputs = static_cast<int32_t>(root["outputs"]);
    facts.latency = static_cast<int32_t>(root["latency"]);
    facts.category = static_cast<int32_t>(root["category"]);
    return true;
}

} // namespace ombrelhost
