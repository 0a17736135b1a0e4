#include "tools/host/validate/TextSpans.h"

#include "tools/host/validate/ParameterReadings.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace ombrelhost
{

namespace
{

constexpr int kHundredths = 100;
// More texts than this and the parameter is read as continuous (a level shown in whole decibels
// has dozens); a choice of filter types or modes has fewer.
constexpr size_t kMostChoices = 16;
// At most this many texts, each over one stretch, and the parameter is in steps (a count of beats);
// more, and it is continuous, shown with its digits (a few of its hundredths may round to a
// neighbour's text, so steps must average a hundredth and a half).
constexpr size_t kMostSteps = kHundredths * 2 / 3;
// A value between texts lies this close to its stretch's edge, at most (a fraction of the width).
constexpr double kOffGridDistance = 0.2;

} // namespace

TextSpans::TextSpans(testhost::DataModelInstance& dataModel, const std::string& id)
{
    std::set<std::string> distinct;
    for (int step = 0; step <= kHundredths; ++step)
    {
        const std::string text = TextOfValue(dataModel, id, static_cast<double>(step) / kHundredths);
        if (!mSpans.empty() && mSpans.back().text == text)
            mSpans.back().last = step;
        else
            mSpans.push_back({step, step, text});
        distinct.insert(text);
    }
    // A text that comes back after another is not one stretch: no user could set it by its text
    // alone, and the grid would not be the effect's.
    const bool oneStretchEach = mSpans.size() > 1 && distinct.size() == mSpans.size();
    mFewTexts = oneStretchEach && mSpans.size() <= kMostChoices;
    mManySteps = oneStretchEach && !mFewTexts && mSpans.size() <= kMostSteps;
}

bool TextSpans::Neighbours(const std::string& a, const std::string& b) const
{
    for (size_t i = 0; i + 1 < mSpans.size(); ++i)
        if ((mSpans[i].text == a && mSpans[i + 1].text == b) || (mSpans[i].text == b && mSpans[i + 1].text == a))
            return true;
    return false;
}

double TextSpans::GridValue(size_t index) const
{
    if (index == 0)
        return 0.0;
    if (index + 1 == mSpans.size())
        return 1.0;
    const Span& span = mSpans.at(index);
    // A span covers [first, last + 1) hundredths.
    return (span.first + span.last + 1) / (2.0 * kHundredths);
}

double TextSpans::UserValue(std::mt19937_64& random) const
{
    if (!mFewTexts)
        return std::uniform_real_distribution<double>(0.0, 1.0)(random);
    return GridValue(std::uniform_int_distribution<size_t>(0, mSpans.size() - 1)(random));
}

double TextSpans::OffGridValue(std::mt19937_64& random, Edge edge) const
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    if (!mFewTexts && !mManySteps)
        return unit(random);
    const size_t index = edge == Edge::Start ? std::uniform_int_distribution<size_t>(1, mSpans.size() - 1)(random)
                                             : std::uniform_int_distribution<size_t>(0, mSpans.size() - 2)(random);
    const Span& span = mSpans[index];
    const double start = static_cast<double>(span.first) / kHundredths;
    const double end = static_cast<double>(span.last + 1) / kHundredths;
    // Inside the stretch (the module shows this text there), within a fifth of its width of the edge.
    const double offset = kOffGridDistance * (end - start) * (0.05 + 0.95 * unit(random));
    return edge == Edge::Start ? start + offset : end - offset;
}

} // namespace ombrelhost
