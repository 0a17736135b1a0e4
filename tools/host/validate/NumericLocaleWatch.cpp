#include "tools/host/validate/NumericLocaleWatch.h"

#include "tools/host/validate/ValidationGroup.h"

#include <clocale>

namespace ombrelhost
{

NumericLocaleWatch::NumericLocaleWatch() : mHostLocale(Current())
{
    const char* name = std::setlocale(LC_NUMERIC, nullptr);
    mHostName = name != nullptr ? name : "C";
}

std::string NumericLocaleWatch::Current()
{
    const char* name = std::setlocale(LC_NUMERIC, nullptr);
    // The decimal point too: a locale may keep its name and still be redefined.
    const std::lconv* conventions = std::localeconv();
    return std::string(name != nullptr ? name : "") + " (decimal point \"" +
           (conventions != nullptr && conventions->decimal_point != nullptr ? conventions->decimal_point : "") +
           "\")";
}

void NumericLocaleWatch::After(const std::string& sequence)
{
    const std::string now = Current();
    if (now == mHostLocale)
        return;
    if (mChanges++ == 0)
    {
        mChangedIn = sequence;
        mChangedTo = now;
    }
    std::setlocale(LC_NUMERIC, mHostName.c_str());
}

void NumericLocaleWatch::Report(GroupContext& context, const std::string& sequences) const
{
    if (mChanges == 0)
    {
        context.Pass("numeric locale", "unchanged after " + sequences + ": " + mHostLocale);
        return;
    }
    context.Fail("numeric locale",
                 "the effect changed the process's numeric locale (LC_NUMERIC) while " + mChangedIn + ", from " +
                     mHostLocale + " to " + mChangedTo,
                 std::to_string(mChanges) + " of the sequences changed it");
}

} // namespace ombrelhost
