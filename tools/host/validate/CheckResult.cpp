#include "tools/host/validate/CheckResult.h"

#include <cstdlib>

namespace ombrelhost
{

namespace
{
constexpr const char* kCheckLineTag = "check";
constexpr char kSeparator = '\t';
} // namespace

const char* CheckStatusText(CheckStatus status)
{
    switch (status)
    {
    case CheckStatus::Pass:
        return "PASS";
    case CheckStatus::Fail:
        return "FAIL";
    case CheckStatus::Skip:
        return "SKIP";
    }
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
    if (fields[1] == "PASS")
        result.status = CheckStatus::Pass;
    else if (fields[1] == "FAIL")
        result.status = CheckStatus::Fail;
    else if (fields[1] == "SKIP")
        result.status = CheckStatus::Skip;
    else
        return false;
    result.group = fields[2];
    result.name = fields[3];
    result.reason = fields[4];
    result.figures = fields[5];
    result.seconds = std::strtod(fields[6].c_str(), nullptr);
    return true;
}

} // namespace ombrelhost
