#pragma once
// Whether the effect changes the process's numeric locale (LC_NUMERIC). The locale belongs to the
// host: once an effect switches it to one with a decimal comma, every number the host and the
// other plug-ins print or read in that process changes meaning ("0.5" read as 0). The watch keeps
// the locale the process had before the first call sequence, compares it after each sequence, and
// puts it back whenever it changed, so that the next sequence starts from the host's own again.

#include <string>

namespace ombrelhost
{

class GroupContext;

class NumericLocaleWatch
{
public:
    // [host thread] Takes the locale of now as the host's own.
    NumericLocaleWatch();

    // [host thread] After a call sequence (loading, opening, processing, parameter texts): the
    // first change is kept with the sequence's name, and the host's locale is set again.
    void After(const std::string& sequence);

    // [host thread] The check "numeric locale": a failure names the sequence and both locales.
    void Report(GroupContext& context, const std::string& sequences) const;

private:
    // The locale's name and its decimal point, as the report shows them.
    static std::string Current();

    std::string mHostName; // what setlocale answers, to set it again
    std::string mHostLocale;
    std::string mChangedIn; // the first sequence that changed it; empty while none has
    std::string mChangedTo;
    int mChanges = 0;
};

} // namespace ombrelhost
