#include "tools/host/commands/ArgumentValues.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ombrelhost
{

bool ParseNumber(const std::string& text, double& value)
{
    if (text.empty() || text.find_first_of(" \t\n") != std::string::npos)
        return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(begin, &end);
    if (end != begin + text.size() || errno == ERANGE || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ParseInteger(const std::string& text, long minimum, long maximum, long& value)
{
    if (text.empty() || text.find_first_of(" \t\n") != std::string::npos)
        return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(begin, &end, 10);
    if (end != begin + text.size() || errno == ERANGE || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

bool ParseParameterAssignment(const std::string& text, ParameterAssignment& assignment, std::string& error)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
    {
        error = "`" + text + "` is not ID=VALUE or ID=VALUE@SECONDS";
        return false;
    }
    ParameterAssignment parsed;
    parsed.id = text.substr(0, equals);
    std::string valueText = text.substr(equals + 1);
    if (const size_t at = valueText.rfind('@'); at != std::string::npos)
    {
        if (!ParseNumber(valueText.substr(at + 1), parsed.seconds) || parsed.seconds < 0.0)
        {
            error = "`" + text + "`: the time after @ must be a number of seconds, 0 or more";
            return false;
        }
        parsed.timed = true;
        valueText = valueText.substr(0, at);
    }
    if (!ParseNumber(valueText, parsed.value) || parsed.value < 0.0 || parsed.value > 1.0)
    {
        error = "`" + text + "`: VALUE must be a normalised number from 0 to 1";
        return false;
    }
    assignment = parsed;
    return true;
}

bool ParseTimeSpan(const std::string& text, TimeSpan& span, std::string& error)
{
    const size_t dash = text.find('-', 1);
    TimeSpan parsed;
    const std::string fromText = dash == std::string::npos ? text : text.substr(0, dash);
    const std::string toText = dash == std::string::npos ? std::string() : text.substr(dash + 1);
    bool good = dash != std::string::npos && ParseNumber(fromText, parsed.from) && parsed.from >= 0.0;
    if (good && toText.empty())
        parsed.to = std::numeric_limits<double>::infinity();
    else if (good)
        good = ParseNumber(toText, parsed.to) && parsed.to > parsed.from;
    if (!good)
    {
        error = "`" + text + "` is not a span FROM-TO in seconds (FROM >= 0, TO > FROM, TO may be left out)";
        return false;
    }
    span = parsed;
    return true;
}

bool ParseMeter(const std::string& text, int& numerator, int& denominator)
{
    constexpr long kLargest = 64;
    const size_t slash = text.find('/');
    long parsedNumerator = 0, parsedDenominator = 0;
    if (slash == std::string::npos || !ParseInteger(text.substr(0, slash), 1, kLargest, parsedNumerator) ||
        !ParseInteger(text.substr(slash + 1), 1, kLargest, parsedDenominator))
        return false;
    numerator = static_cast<int>(parsedNumerator);
    denominator = static_cast<int>(parsedDenominator);
    return true;
}

} // namespace ombrelhost
