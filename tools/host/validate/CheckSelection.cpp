#include "tools/host/validate/CheckSelection.h"

#include "tools/host/session/StemFormatNames.h"

namespace ombrelhost
{

namespace
{

constexpr const char* kLayoutPlaceholder = "LAYOUT";

std::vector<std::string> LayoutNames(const std::vector<ChannelLayout>& layouts)
{
    std::vector<std::string> names;
    for (const ChannelLayout layout : layouts)
        names.push_back(ChannelLayoutName(layout));
    if (names.empty())
        // Every layout a module can describe: each pair of named stem formats.
        for (const AAX_EStemFormat input : NamedStemFormats())
            for (const AAX_EStemFormat output : NamedStemFormats())
                names.push_back(ChannelLayoutName(ChannelLayout{input, output}));
    return names;
}

} // namespace

CheckSelection::CheckSelection(const std::string& only, const std::string& skip)
{
    if (!only.empty())
        mOnly.emplace(only);
    if (!skip.empty())
        mSkip.emplace(skip);
}

bool CheckSelection::Finds(const std::regex& expression, const ValidationGroup& group, const std::string& check)
{
    return std::regex_search(check, expression) || std::regex_search(std::string(group.name), expression) ||
           std::regex_search(std::string(group.title), expression);
}

bool CheckSelection::Selects(const ValidationGroup& group, const std::string& check) const
{
    return (!mOnly || Finds(*mOnly, group, check)) && (!mSkip || !Finds(*mSkip, group, check));
}

bool CheckSelection::Runs(const ValidationGroup& group, const std::vector<ChannelLayout>& layouts) const
{
    // A group-level failure (a crash, a module that does not load) carries the group's title.
    if (Selects(group, group.title))
        return true;
    if (group.checks.empty())
        return !mSkip || !Finds(*mSkip, group, std::string());
    const std::vector<std::string> layoutNames = LayoutNames(layouts);
    for (const std::string& declared : group.checks)
        for (const std::string& name : Expand(declared, layoutNames))
            if (Selects(group, name))
                return true;
    return false;
}

std::vector<std::string> CheckSelection::Expand(const std::string& declared, const std::vector<std::string>& layouts)
{
    // The first placeholder written out, and the rest of the name after it expanded in turn.
    const size_t layoutAt = declared.find(kLayoutPlaceholder);
    const size_t open = declared.find('{');
    const size_t close = open == std::string::npos ? std::string::npos : declared.find('}', open);
    std::vector<std::string> choices;
    size_t at = std::string::npos;
    size_t end = std::string::npos;
    if (layoutAt != std::string::npos && (close == std::string::npos || layoutAt < open))
    {
        choices = layouts;
        at = layoutAt;
        end = layoutAt + std::string(kLayoutPlaceholder).size();
    }
    else if (close != std::string::npos)
    {
        for (size_t start = open + 1;;)
        {
            const size_t bar = declared.find('|', start);
            const size_t stop = bar == std::string::npos || bar > close ? close : bar;
            choices.push_back(declared.substr(start, stop - start));
            if (stop == close)
                break;
            start = stop + 1;
        }
        at = open;
        end = close + 1;
    }
    else
        return {declared};

    std::vector<std::string> names;
    const std::vector<std::string> rests = Expand(declared.substr(end), layouts);
    for (const std::string& choice : choices)
        for (const std::string& rest : rests)
            names.push_back(declared.substr(0, at) + choice + rest);
    return names;
}

} // namespace ombrelhost
