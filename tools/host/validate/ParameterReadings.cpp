#include "tools/host/validate/ParameterReadings.h"

#include "host_kit/HostString.h"
#include "tools/host/validate/ValidationGroup.h"

namespace ombrelhost
{

namespace
{

// Texts are asked for at the length a host's widest display gives them.
constexpr int32_t kTextLength = 32;

} // namespace

std::string ParameterName(testhost::DataModelInstance& dataModel, const std::string& id)
{
    testhost::HostString name;
    if (dataModel->GetParameterName(id.c_str(), &name) != AAX_SUCCESS)
        return {};
    return name.Text();
}

std::string ParameterLabel(testhost::DataModelInstance& dataModel, const std::string& id)
{
    // The module publishes the effect's name after the index ("3: Mode"); the label shows each once.
    std::string name = ParameterName(dataModel, id);
    const std::string prefix = id + ": ";
    if (name.compare(0, prefix.size(), prefix) == 0)
        name.erase(0, prefix.size());
    return "parameter " + id + " \"" + name + "\"";
}

double ParameterValue(testhost::DataModelInstance& dataModel, const std::string& id)
{
    double value = -1.0;
    dataModel->GetParameterNormalizedValue(id.c_str(), &value);
    return value;
}

std::string ParameterText(testhost::DataModelInstance& dataModel, const std::string& id)
{
    testhost::HostString text;
    dataModel->GetParameterValueString(id.c_str(), &text, kTextLength);
    return text.Text();
}

std::string TextOfValue(testhost::DataModelInstance& dataModel, const std::string& id, double value)
{
    testhost::HostString text;
    dataModel->GetParameterStringFromValue(id.c_str(), value, &text, kTextLength);
    return text.Text();
}

std::string ValueAndText(double value, const std::string& text)
{
    return FormatFigure("%.4f", value) + " \"" + text + "\"";
}

bool ReadableText(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return false;
    }
    return true;
}

} // namespace ombrelhost
