#pragma once
// CLI11 validators with the host's own messages, for values CLI11's validators do not describe
// (a layout's name, ID=VALUE, FROM-TO, N/D) or where the host's message is clearer. A message
// starts with "must" when it reads after the option's name ("--block must be ...").

#include <CLI/CLI.hpp>

#include <string>

namespace ombrelhost
{

// inner's check (CLI::Range, CLI::PositiveNumber, ...) with its message replaced by mustText.
CLI::Validator Explained(const CLI::Validator& inner, const std::string& mustText);
// A layout's name from the stem-format table ("stereo", "5.1", "mono-stereo"; "all" too when allowAll).
CLI::Validator LayoutNameCheck(bool allowAll);
// "ID=VALUE" with VALUE normalised; "ID=VALUE@SECONDS" too when timed.
CLI::Validator ParameterAssignmentCheck(bool timed);
// "FROM-TO" in seconds, TO may be left out.
CLI::Validator TimeSpanCheck();
// "N/D", both from 1 to 64.
CLI::Validator MeterCheck();
// A regular expression (ECMAScript, as std::regex reads it); the message quotes the library's reason.
CLI::Validator RegexCheck();

} // namespace ombrelhost
