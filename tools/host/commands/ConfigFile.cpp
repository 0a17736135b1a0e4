#include "tools/host/commands/ConfigFile.h"

#include <juce_core/juce_core.h>

#include <cmath>
#include <cstdio>

namespace ombrelhost
{

namespace
{

std::string KeyOf(const CLI::Option& option)
{
    std::string name = option.get_name();
    return name.substr(name.find_first_not_of('-'));
}

const char* TypeText(ConfigValue value)
{
    switch (value)
    {
    case ConfigValue::Text:
        return "a string";
    case ConfigValue::Number:
        return "a number";
    case ConfigValue::Switch:
        return "true or false";
    }
    return "a value";
}

// The value as the option would read it on the command line; false when the JSON type is not the
// option's.
bool OptionText(const juce::var& value, ConfigValue wanted, std::string& text)
{
    switch (wanted)
    {
    case ConfigValue::Text:
        if (!value.isString())
            return false;
        text = value.toString().toStdString();
        return true;
    case ConfigValue::Number:
        if (value.isInt() || value.isInt64())
            text = std::to_string(static_cast<juce::int64>(value));
        else if (value.isDouble() && std::isfinite(static_cast<double>(value)))
        {
            char figure[32];
            std::snprintf(figure, sizeof figure, "%.17g", static_cast<double>(value));
            text = figure;
        }
        else
            return false;
        return true;
    case ConfigValue::Switch:
        if (!value.isBool())
            return false;
        text = static_cast<bool>(value) ? "true" : "false";
        return true;
    }
    return false;
}

// CLI11's message without the option's name it starts with ("--strictness: must be ...").
std::string Reason(const CLI::Error& error, const CLI::Option& option)
{
    std::string text = error.what();
    const std::string prefix = option.get_name() + ": ";
    if (text.rfind(prefix, 0) == 0)
        text.erase(0, prefix.size());
    return text;
}

} // namespace

bool ConfigFile::Apply(const std::string& path, const std::vector<ConfigurableOption>& options, std::string& error)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    if (!file.existsAsFile())
    {
        error = path + ": no such file";
        return false;
    }
    juce::var root;
    const juce::Result parsed = juce::JSON::parse(file.loadFileAsString(), root);
    if (parsed.failed())
    {
        error = path + ": not JSON: " + parsed.getErrorMessage().toStdString();
        return false;
    }
    juce::DynamicObject* object = root.getDynamicObject();
    if (object == nullptr)
    {
        error = path + ": not a JSON object of option names and values";
        return false;
    }
    for (const juce::NamedValueSet::NamedValue& entry : object->getProperties())
    {
        const std::string key = entry.name.toString().toStdString();
        const ConfigurableOption* found = nullptr;
        std::string keys;
        for (const ConfigurableOption& candidate : options)
        {
            keys += (keys.empty() ? "" : ", ") + KeyOf(*candidate.option);
            if (KeyOf(*candidate.option) == key)
                found = &candidate;
        }
        if (found == nullptr)
        {
            error = path + ": unknown key \"" + key + "\" (the keys are " + keys + ")";
            return false;
        }
        CLI::Option& option = *found->option;
        std::string text;
        if (!OptionText(entry.value, found->value, text))
        {
            error = path + ": \"" + key + "\" must be " + TypeText(found->value);
            return false;
        }
        if (option.count() > 0)
            continue; // given on the command line, which wins
        try
        {
            option.add_result(text);
            option.run_callback();
        }
        catch (const CLI::Error& refused)
        {
            // The option's own message reads after the key when it says what the value must be.
            const std::string reason = Reason(refused, option);
            error = path + ": \"" + key + "\"" + (reason.rfind("must ", 0) == 0 ? " " : ": ") + reason;
            return false;
        }
    }
    return true;
}

} // namespace ombrelhost
