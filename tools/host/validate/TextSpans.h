#pragma once
// A parameter's value range as its texts divide it. The module shows the text the effect gave at
// each hundredth of the range; a switch or a choice shows a few texts, each over one stretch of
// the range. A user sets such a parameter by its text, which puts it well inside the text's
// stretch, never at a point where the effect's own rounding may tip it to the neighbouring text:
// the first text at the bottom of the range, the last at the top (where a host's menu puts its
// first and last items, and where an effect that rounds its texts has only half a stretch for
// them), every other at the middle of its stretch. Those points are the parameter's grid; any
// other value of it is off the grid.
// A parameter in many steps (a count of beats, a level in whole decibels) also shows each text over
// one stretch, but its stretches are a hundredth or two wide: the hundredths the module reads do not
// show where the effect's own steps begin, so no value of it is known to be on the effect's grid.

#include "host_kit/DataModelInstance.h"

#include <random>
#include <string>
#include <vector>

namespace ombrelhost
{

class TextSpans
{
public:
    // [host thread] Reads the module's text at every hundredth of the parameter's range.
    TextSpans(testhost::DataModelInstance& dataModel, const std::string& id);

    // Few texts, each over one stretch: a switch or a choice.
    bool FewTexts() const { return mFewTexts; }
    // More texts than a choice has, each over one stretch, a hundredth and a half wide on average
    // at least.
    bool ManySteps() const { return mManySteps; }
    // Whether two texts are those of neighbouring stretches: one step apart.
    bool Neighbours(const std::string& a, const std::string& b) const;
    size_t Count() const { return mSpans.size(); }
    // The grid point of span `index`: 0 for the first, 1 for the last, else its stretch's middle.
    double GridValue(size_t index) const;
    // A value as a user sets it: a random text's grid point for a switch or a choice, any value of
    // the range otherwise.
    double UserValue(std::mt19937_64& random) const;
    // Where a value between texts lies: just inside the start of a text's stretch (of any but the
    // first), or just inside its end (of any but the last). One of the two is where an effect
    // whose text rounds otherwise than its state tips a value to the neighbouring text.
    enum class Edge
    {
        Start,
        End,
    };
    // A value of a switch, a choice or a parameter in many steps off its grid, near the edge of a
    // random text's stretch; any value for a continuous parameter.
    double OffGridValue(std::mt19937_64& random, Edge edge) const;

private:
    struct Span
    {
        int first = 0; // hundredths, inclusive
        int last = 0;
        std::string text;
    };
    std::vector<Span> mSpans;
    bool mFewTexts = false;
    bool mManySteps = false;
};

} // namespace ombrelhost
