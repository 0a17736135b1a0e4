#pragma once
// Every parameter a data-model object publishes, read through the host's parameter queries, as a
// readable table and as JSON.

#include "host_kit/DataModelInstance.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ombrelhost
{

struct ParameterInfo
{
    std::string id;
    std::string name;
    // (length asked for, name given), for the lengths in kShortNameLengths.
    std::vector<std::pair<int32_t, std::string>> shortNames;
    int32_t steps = 0;
    int32_t type = -1; // 0 discrete, 1 continuous
    bool automatable = false;
    std::optional<double> defaultValue; // none when the object gives no default
    std::string defaultText;
    double value = 0.0; // the current value (the data model asks its effect)
    std::string text;   // the text of the current value
    // The text the published parameter itself shows; it differs from text while the published
    // parameter has not caught up with the effect's value.
    std::string parameterText;
};

class ParameterReport
{
public:
    // [host thread]
    static std::vector<ParameterInfo> Collect(testhost::DataModelInstance& dataModel);
    static std::string Text(const std::vector<ParameterInfo>& parameters);
    static std::string Json(const std::vector<ParameterInfo>& parameters);
    // "0.2500 \"250\"", for before/after listings.
    static std::string ValueText(const ParameterInfo& parameter);

    static constexpr int32_t kShortNameLengths[] = {16, 8, 6, 4};
    static constexpr int32_t kNameLength = 31;
    static constexpr int32_t kValueTextLength = 32;
};

} // namespace ombrelhost
