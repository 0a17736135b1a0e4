// The test host's automation recorder: which of a plug-in's requests each writing mode turns into
// automation points.

#include "host_kit/AutomationRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testhost;

namespace
{

// A gesture on "a" (touch, two values, release), then a request for "a" and one for "b" without
// any touch, as an effect's own automation and a display refresh post them.
std::vector<std::pair<std::string, double>> record(AutomationMode mode)
{
    AutomationRecorder recorder(mode);
    recorder.Touched("a");
    recorder.SetValueRequested("a", 0.1);
    recorder.SetValueRequested("a", 0.2);
    recorder.Released("a");
    recorder.SetValueRequested("a", 0.3);
    recorder.SetValueRequested("b", 0.4);
    std::vector<std::pair<std::string, double>> points;
    for (const AutomationPoint& point : recorder.Points())
        points.emplace_back(point.parameterId, point.value);
    EXPECT_EQ(points.size(), recorder.PointCount());
    return points;
}

} // namespace

TEST(AutomationRecorder, EachWritingModeKeepsTheRequestsADawWrites)
{
    using Points = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(Points{}, record(AutomationMode::Read));
    EXPECT_EQ((Points{{"a", 0.1}, {"a", 0.2}}), record(AutomationMode::Touch));
    EXPECT_EQ((Points{{"a", 0.1}, {"a", 0.2}, {"a", 0.3}}), record(AutomationMode::Latch));
    EXPECT_EQ((Points{{"a", 0.1}, {"a", 0.2}, {"a", 0.3}, {"b", 0.4}}), record(AutomationMode::Write));
}
