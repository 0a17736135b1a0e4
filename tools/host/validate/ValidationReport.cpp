#include "tools/host/validate/ValidationReport.h"

#include "tools/host/reports/QuotedText.h"

#include <cstdio>
#include <map>

namespace ombrelhost
{

namespace
{

std::string JsonText(const std::string& text)
{
    return QuotedText(text, QuoteStyle::Json);
}

std::string XmlText(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
    {
        switch (c)
        {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            // Control characters are not allowed in XML 1.0 text.
            escaped += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return escaped;
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f", seconds);
    return text;
}

} // namespace

ValidationCounts ValidationReport::Count(const std::vector<CheckResult>& results)
{
    ValidationCounts counts;
    for (const CheckResult& result : results)
    {
        if (result.status == CheckStatus::Pass)
            ++counts.passed;
        else if (result.status == CheckStatus::Warn)
            ++counts.warned;
        else if (result.status == CheckStatus::Fail)
            ++counts.failed;
        else
            ++counts.skipped;
    }
    return counts;
}

std::string ValidationReport::SummaryLine(const std::vector<CheckResult>& results)
{
    const ValidationCounts counts = Count(results);
    return "validate: " + std::to_string(counts.passed) + " passed, " + std::to_string(counts.failed) +
           " failed, " + std::to_string(counts.skipped) + " skipped" +
           (counts.warned > 0 ? ", " + std::to_string(counts.warned) + " warnings" : std::string());
}

std::string ValidationReport::Json(const std::string& module, int strictness, unsigned long long seed, int repeat,
                                   const std::vector<CheckResult>& results)
{
    const ValidationCounts counts = Count(results);
    std::string json = "{\n  \"module\": " + JsonText(module) +
                       ",\n  \"strictness\": " + std::to_string(strictness) +
                       ",\n  \"seed\": " + std::to_string(seed) +
                       ",\n  \"repeat\": " + std::to_string(repeat) +
                       ",\n  \"passed\": " + std::to_string(counts.passed) +
                       ",\n  \"warned\": " + std::to_string(counts.warned) +
                       ",\n  \"failed\": " + std::to_string(counts.failed) +
                       ",\n  \"skipped\": " + std::to_string(counts.skipped) + ",\n  \"checks\": [";
    for (size_t i = 0; i < results.size(); ++i)
    {
        const CheckResult& result = results[i];
        json += std::string(i == 0 ? "\n" : ",\n") + "    {\"group\": " + JsonText(result.group) +
                ", \"name\": " + JsonText(result.name) +
                ", \"status\": " + JsonText(CheckStatusText(result.status)) +
                ", \"reason\": " + JsonText(result.reason) + ", \"figures\": " + JsonText(result.figures) +
                ", \"seconds\": " + Seconds(result.seconds) +
                ", \"repetition\": " + std::to_string(result.repetition) + "}";
    }
    return json + "\n  ]\n}\n";
}

std::string ValidationReport::JUnit(const std::string& module, int repeat, const std::vector<CheckResult>& results)
{
    std::map<std::string, std::vector<const CheckResult*>> groups;
    std::vector<std::string> order;
    for (const CheckResult& result : results)
    {
        if (groups.count(result.group) == 0)
            order.push_back(result.group);
        groups[result.group].push_back(&result);
    }
    const ValidationCounts counts = Count(results);
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"ombrel-host validate " +
                      XmlText(module) + "\" tests=\"" + std::to_string(results.size()) + "\" failures=\"" +
                      std::to_string(counts.failed) + "\" skipped=\"" + std::to_string(counts.skipped) +
                      "\">\n";
    for (const std::string& group : order)
    {
        const std::vector<const CheckResult*>& checks = groups[group];
        size_t failures = 0;
        size_t skipped = 0;
        for (const CheckResult* check : checks)
        {
            failures += check->status == CheckStatus::Fail ? 1 : 0;
            skipped += check->status == CheckStatus::Skip ? 1 : 0;
        }
        xml += "  <testsuite name=\"" + XmlText(group) + "\" tests=\"" + std::to_string(checks.size()) +
               "\" failures=\"" + std::to_string(failures) + "\" skipped=\"" + std::to_string(skipped) +
               "\">\n";
        for (const CheckResult* check : checks)
        {
            xml += "    <testcase classname=\"" + XmlText(group) + "\" name=\"" + XmlText(check->name) +
                   (repeat > 1 ? " [repetition " + std::to_string(check->repetition) + "]" : std::string()) +
                   "\" time=\"" + Seconds(check->seconds) + "\"";
            if (check->status == CheckStatus::Warn)
                // JUnit has no warning: a passed test case that says what it warns of.
                xml += "><system-out>WARN: " + XmlText(check->reason) +
                       (check->figures.empty() ? std::string() : "; " + XmlText(check->figures)) +
                       "</system-out></testcase>\n";
            else if (check->status == CheckStatus::Pass)
                xml += check->figures.empty()
                           ? "/>\n"
                           : "><system-out>" + XmlText(check->figures) + "</system-out></testcase>\n";
            else if (check->status == CheckStatus::Fail)
                xml += "><failure message=\"" + XmlText(check->reason) + "\">" + XmlText(check->figures) +
                       "</failure></testcase>\n";
            else
                xml += "><skipped message=\"" + XmlText(check->reason) + "\"/></testcase>\n";
        }
        xml += "  </testsuite>\n";
    }
    return xml + "</testsuites>\n";
}

} // namespace ombrelhost
