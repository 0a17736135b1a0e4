#pragma once
// The validator's report: the summary line of counts, and the machine-readable forms (JSON and
// JUnit XML) of every check's result.

#include "tools/host/validate/CheckResult.h"

#include <string>
#include <vector>

namespace ombrelhost
{

struct ValidationCounts
{
    size_t passed = 0;
    size_t warned = 0;
    size_t failed = 0;
    size_t skipped = 0;
};

class ValidationReport
{
public:
    static ValidationCounts Count(const std::vector<CheckResult>& results);
    // "validate: 41 passed, 2 failed, 1 skipped", and ", 3 warnings" after it when there are any.
    static std::string SummaryLine(const std::vector<CheckResult>& results);
    // seed: the first repetition's; repeat: how many repetitions the results come from. Each check
    // carries its repetition.
    static std::string Json(const std::string& module, int strictness, unsigned long long seed, int repeat,
                            const std::vector<CheckResult>& results);
    // With repeat above 1 each test case's name ends in "[repetition N]", so that names stay apart.
    static std::string JUnit(const std::string& module, int repeat, const std::vector<CheckResult>& results);
};

} // namespace ombrelhost
