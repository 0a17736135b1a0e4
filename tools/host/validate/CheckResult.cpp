#include "tools/host/validate/CheckResult.h"

#include <cstdlib>
#include <optional>

namespace ombrelhost
{

namespace
{
constexpr const char* kCheckLineTag = "check";
constexpr char kSeparator = '\t';
// Every status with its text, written into check lines and read back from them.
struct StatusText
{
    CheckStatus status;
    const char* text;
};
constexpr StatusText kStatusTexts[] = {
    {CheckStatus::Pass, "PASS"}, {CheckStatus::Warn, "WARN"}, {CheckStatus::Fail, "FAIL"}, {CheckStatus::Skip, "SKIP"}};

std::optional<CheckStatus> ParseCheckStatus(const std::string& text)
{
    for (const StatusText& entry : kStatusTexts)
        if (text == entry.text)
            return entry.status;
    return std::nullopt;
}

} // namespace

const char* CheckStatusText(CheckStatus status)
{
    for (const StatusText& entry : kStatusTexts)
        if (entry.status == status)
            return entry.text;
    // Not a status of this tool: reported as the failure it is.
    return "FAIL";
}

std::string OneLine(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return line;
}

std::string FormatCheckLine(const CheckResult& result)
{
    std::string line = kCheckLineTag;
    for (const std::string& field : {std::string(CheckStatusText(result.status)), result.group, result.name,
                                     result.reason, result.figures, std::to_string(result.seconds)})
    {
        line += kSeparator;
        line += OneLine(field);
    }
    return line;
}

bool ParseCheckLine(const std::string& line, CheckResult& result)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true)
    {
        const size_t end = line.find(kSeparator, start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (fields.size() != 7 || fields[0] != kCheckLineTag)
        return false;
    const std::optional<CheckStatus> status = ParseCheckStatus(fields[1]);
    if (!status)
        return false;
    result.status = *status;
    result.group = fields[2];
    result.name = fields[3];
    result.reason = fields[4];
    result.figures = fields[5];
    result.seconds = std::strtod(fields[6].c_str(), nullptr);
    return true;
}

} // namespace ombrelhost
