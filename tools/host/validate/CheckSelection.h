#pragma once
// Which checks a validation reports and which groups it runs, from --only and --skip: regular
// expressions searched in each check's name and in its group's name and title. A check is
// selected when --only (if given) finds one of them and --skip (if given) finds none. A group
// runs when some check it declares could be selected, so that `--only latency` runs one group.

#include "tools/host/session/ChannelLayout.h"
#include "tools/host/validate/ValidationGroup.h"

#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace ombrelhost
{

class CheckSelection
{
public:
    // Empty texts select everything. The texts have been checked as regular expressions
    // (OptionChecks' RegexCheck); one that is not still throws std::regex_error.
    CheckSelection(const std::string& only, const std::string& skip);

    bool Selects(const ValidationGroup& group, const std::string& check) const;
    // Whether the group may report a selected check, for a run over these layouts (none: every
    // layout of the stem-format table).
    bool Runs(const ValidationGroup& group, const std::vector<ChannelLayout>& layouts) const;

    // A declared check name with "LAYOUT" and "{a|b}" written out: every name it stands for.
    static std::vector<std::string> Expand(const std::string& declared, const std::vector<std::string>& layouts);

private:
    static bool Finds(const std::regex& expression, const ValidationGroup& group, const std::string& check);

    std::optional<std::regex> mOnly;
    std::optional<std::regex> mSkip;
};

} // namespace ombrelhost
