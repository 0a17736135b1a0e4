#pragma once
// Readers for the values of command-line options. Each takes the text as the user typed it and
// either fills its result or explains, in one line, what is wrong with it.

#include <string>

namespace ombrelhost
{

// A parameter change: "ID=VALUE" or "ID=VALUE@SECONDS" (VALUE normalised, 0 to 1).
struct ParameterAssignment
{
    std::string id;
    double value = 0.0;
    double seconds = 0.0;
    bool timed = false; // "@SECONDS" was given
};

// A span of time in seconds: "FROM-TO" (TO may be empty: to the end).
struct TimeSpan
{
    double from = 0.0;
    double to = 0.0; // infinity when open-ended
};

// The whole text must be one finite number.
bool ParseNumber(const std::string& text, double& value);
// A whole number in [minimum, maximum]; error names the option.
bool ParseInteger(const std::string& text, long minimum, long maximum, long& value);
bool ParseParameterAssignment(const std::string& text, ParameterAssignment& assignment, std::string& error);
bool ParseTimeSpan(const std::string& text, TimeSpan& span, std::string& error);
// A meter "N/D", both numbers from 1 to 64.
bool ParseMeter(const std::string& text, int& numerator, int& denominator);

} // namespace ombrelhost
