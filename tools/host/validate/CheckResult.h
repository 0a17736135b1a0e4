#pragma once
// One check of `ombrel-host validate` and what it found: passed, warned, failed or skipped, why, and
// the figures it measured. A warning is a finding worth the developer's look that does not fail the
// validation (an effect that merely rounds an off-grid value, a slow-down on denormal input). A group of checks runs in a child process and hands its results to the
// validator as lines of text, one check per line.

#include <string>
#include <vector>

namespace ombrelhost
{

enum class CheckStatus
{
    Pass,
    Warn,
    Fail,
    Skip,
};

struct CheckResult
{
    std::string group;
    std::string name;
    CheckStatus status = CheckStatus::Pass;
    std::string reason;  // why it warned, failed or was skipped; may be empty for a pass
    std::string figures; // what it measured, for the reader ("12.3 ms", "0 per block")
    double seconds = 0.0;
    int repetition = 1; // the run of --repeat that found it, from 1; not carried in check lines
};

const char* CheckStatusText(CheckStatus status);

// One line without tabs or line breaks: "check<TAB>STATUS<TAB>group<TAB>name<TAB>reason<TAB>figures
// <TAB>seconds". Parse answers false for a line that is not one.
std::string FormatCheckLine(const CheckResult& result);
bool ParseCheckLine(const std::string& line, CheckResult& result);

// Tabs and line breaks in a text become spaces, so that it fits one field of a line.
std::string OneLine(const std::string& text);

} // namespace ombrelhost
