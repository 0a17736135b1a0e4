#pragma once
// What a host reads of one published parameter through the module: its name, its value (the
// effect's own), its text now and the text the module shows for any value. A failure names the
// parameter by its index and name, with the values and texts it saw, so that the developer can set
// the same value again.

#include "host_kit/DataModelInstance.h"

#include <string>

namespace ombrelhost
{

// [host thread] The published name, empty when the module gives none.
std::string ParameterName(testhost::DataModelInstance& dataModel, const std::string& id);
// [host thread] "parameter 3 "Mode"": the identifier (the effect's parameter index) and the
// effect's name of it.
std::string ParameterLabel(testhost::DataModelInstance& dataModel, const std::string& id);
// [host thread] The value the module answers (the effect's own); -1 when it answers none.
double ParameterValue(testhost::DataModelInstance& dataModel, const std::string& id);
// [host thread] The text of the parameter's value now.
std::string ParameterText(testhost::DataModelInstance& dataModel, const std::string& id);
// [host thread] The text the module shows for the value.
std::string TextOfValue(testhost::DataModelInstance& dataModel, const std::string& id, double value);

// "0.5244 "RMS"": a value and its text as the reports show them.
std::string ValueAndText(double value, const std::string& text);

// A text a user can read: not empty, no control characters.
bool ReadableText(const std::string& text);

} // namespace ombrelhost
