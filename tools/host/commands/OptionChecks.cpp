#include "tools/host/commands/OptionChecks.h"

#include "tools/host/commands/ArgumentValues.h"
#include "tools/host/session/ChannelLayout.h"

#include <regex>

namespace ombrelhost
{

CLI::Validator Explained(const CLI::Validator& inner, const std::string& mustText)
{
    return CLI::Validator([inner, mustText](std::string& text)
                          { return inner(text).empty() ? std::string() : mustText; },
                          inner.get_description());
}

CLI::Validator LayoutNameCheck(bool allowAll)
{
    const std::string names =
        std::string("a layout of the stem-format table: mono, stereo, 5.1, mono-stereo, ...") +
        (allowAll ? " or all" : "");
    return CLI::Validator(
        [allowAll, names](std::string& text)
        {
            if (ParseChannelLayout(text) || (allowAll && text == "all"))
                return std::string();
            return "unknown layout `" + text + "` (use " + names + ")";
        },
        allowAll ? "LAYOUT|all" : "LAYOUT");
}

CLI::Validator ParameterAssignmentCheck(bool timed)
{
    return CLI::Validator(
        [timed](std::string& text)
        {
            ParameterAssignment assignment;
            std::string error;
            if (!ParseParameterAssignment(text, assignment, error))
                return error;
            if (assignment.timed && !timed)
                return "`" + text + "`: a time (@SECONDS) only means something for render";
            return std::string();
        },
        ""); // the option's type name shows the form
}

CLI::Validator TimeSpanCheck()
{
    return CLI::Validator(
        [](std::string& text)
        {
            TimeSpan span;
            std::string error;
            return ParseTimeSpan(text, span, error) ? std::string() : error;
        },
        "");
}

CLI::Validator MeterCheck()
{
    return CLI::Validator(
        [](std::string& text)
        {
            int numerator = 0, denominator = 0;
            return ParseMeter(text, numerator, denominator)
                       ? std::string()
                       : "must look like 3/4 (both numbers from 1 to 64)";
        },
        "");
}

CLI::Validator RegexCheck()
{
    return CLI::Validator(
        [](std::string& text)
        {
            try
            {
                std::regex expression(text);
            }
            catch (const std::regex_error& error)
            {
                return "must be a regular expression: `" + text + "` is not one (" + error.what() + ")";
            }
            return std::string();
        },
        "");
}

} // namespace ombrelhost
