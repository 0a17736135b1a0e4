#include "tools/host/reports/ParameterReport.h"

#include "aax_library/AAX_Enums.h"

#include "tools/host/reports/QuotedText.h"

#include "host_kit/HostString.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstdio>

namespace ombrelhost
{

namespace
{

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::string TypeText(int32_t type)
{
    if (type == AAX_eParameterType_Discrete)
        return "discrete";
    if (type == AAX_eParameterType_Continuous)
        return "continuous";
    return std::to_string(type);
}

std::string ShortNamesText(const ParameterInfo& parameter)
{
    std::vector<std::string> distinct;
    for (const auto& entry : parameter.shortNames)
        if (std::find(distinct.begin(), distinct.end(), entry.second) == distinct.end())
            distinct.push_back(entry.second);
    std::string text;
    for (const std::string& name : distinct)
        text += (text.empty() ? "" : " / ") + name;
    return text;
}

// How many bytes a UTF-8 text takes on screen, roughly: its code points.
size_t DisplayWidth(const std::string& text)
{
    size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++width;
    return width;
}

} // namespace

std::vector<ParameterInfo> ParameterReport::Collect(testhost::DataModelInstance& dataModel)
{
    std::vector<ParameterInfo> parameters;
    for (const std::string& id : dataModel.ParameterIds())
    {
        ParameterInfo info;
        info.id = id;
        const char* key = id.c_str();
        testhost::HostString name;
        dataModel->GetParameterNameOfLength(key, &name, kNameLength);
        testhost::HostString fullName;
        dataModel->GetParameterName(key, &fullName);
        info.name = fullName.Text().empty() ? name.Text() : fullName.Text();
        for (int32_t length : kShortNameLengths)
        {
            testhost::HostString shortName;
            dataModel->GetParameterNameOfLength(key, &shortName, length);
            info.shortNames.emplace_back(length, shortName.Text());
        }
        dataModel->GetParameterNumberOfSteps(key, &info.steps);
        dataModel->GetParameterType(key, &info.type);
        AAX_CBoolean automatable = 0;
        dataModel->GetParameterIsAutomatable(key, &automatable);
        info.automatable = automatable != 0;
        double defaultValue = 0.0;
        if (dataModel->GetParameterDefaultNormalizedValue(key, &defaultValue) == AAX_SUCCESS)
        {
            info.defaultValue = defaultValue;
            testhost::HostString defaultText;
            if (dataModel->GetParameterStringFromValue(key, defaultValue, &defaultText, kValueTextLength) ==
                AAX_SUCCESS)
                info.defaultText = defaultText.Text();
        }
        dataModel->GetParameterNormalizedValue(key, &info.value);
        testhost::HostString text;
        dataModel->GetParameterStringFromValue(key, info.value, &text, kValueTextLength);
        info.text = text.Text();
        testhost::HostString parameterText;
        dataModel->GetParameterValueString(key, &parameterText, kValueTextLength);
        info.parameterText = parameterText.Text();
        parameters.push_back(std::move(info));
    }
    return parameters;
}

std::string ParameterReport::ValueText(const ParameterInfo& parameter)
{
    return Number(parameter.value) + " " + QuotedText(parameter.text);
}

std::string ParameterReport::Text(const std::vector<ParameterInfo>& parameters)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"ID", "name", "short names", "steps", "type", "auto", "default", "value"});
    for (const ParameterInfo& p : parameters)
        rows.push_back({p.id, p.name, ShortNamesText(p), std::to_string(p.steps), TypeText(p.type),
                        p.automatable ? "yes" : "no",
                        p.defaultValue ? Number(*p.defaultValue) + " " + QuotedText(p.defaultText) : "-",
                        ValueText(p) + (p.parameterText != p.text
                                            ? " (the parameter shows " + QuotedText(p.parameterText) + ")"
                                            : "")});
    std::vector<size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    std::string text;
    for (const auto& row : rows)
    {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c)
        {
            line += row[c];
            if (c + 1 < row.size())
                line.append(widths[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        text += line + "\n";
    }
    return text;
}

std::string ParameterReport::Json(const std::vector<ParameterInfo>& parameters)
{
    juce::Array<juce::var> array;
    for (const ParameterInfo& p : parameters)
    {
        auto* object = new juce::DynamicObject();
        object->setProperty("id", juce::String::fromUTF8(p.id.c_str()));
        object->setProperty("name", juce::String::fromUTF8(p.name.c_str()));
        auto* shortNames = new juce::DynamicObject();
        for (const auto& [length, name] : p.shortNames)
            shortNames->setProperty(juce::Identifier(juce::String(length)),
                                    juce::String::fromUTF8(name.c_str()));
        object->setProperty("shortNames", juce::var(shortNames));
        object->setProperty("steps", p.steps);
        object->setProperty("type", juce::String(TypeText(p.type)));
        object->setProperty("automatable", p.automatable);
        object->setProperty("default", p.defaultValue ? juce::var(*p.defaultValue) : juce::var());
        object->setProperty("defaultText", juce::String::fromUTF8(p.defaultText.c_str()));
        object->setProperty("value", p.value);
        object->setProperty("text", juce::String::fromUTF8(p.text.c_str()));
        object->setProperty("parameterText", juce::String::fromUTF8(p.parameterText.c_str()));
        array.add(juce::var(object));
    }
    return juce::JSON::toString(juce::var(array)).toStdString() + "\n";
}

} // namespace ombrelhost
