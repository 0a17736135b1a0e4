#pragma once
// What a DAW writes into its automation lanes from a plug-in's requests while a pass runs in one of
// its writing modes. A plug-in asks the host to take a value with a set-value request, bracketed by
// touch and release when it comes from a gesture; the modes differ in which requests become points:
// - read: none (the lanes play back, nothing is written);
// - touch: requests for a parameter while it is touched; writing stops at its release;
// - latch: requests for a parameter from its first touch on, released or not, until the pass ends;
// - write: every request for every parameter, touched or not.
// A value the plug-in reports as its current one (no request) is never written.

#include <cstddef>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace testhost
{

enum class AutomationMode
{
    Read,
    Touch,
    Latch,
    Write,
};

struct AutomationPoint
{
    std::string parameterId;
    double value = 0.0;
};

class AutomationRecorder
{
public:
    explicit AutomationRecorder(AutomationMode mode) : mMode(mode) {}

    // [any thread] What the host's automation delegate receives, in the order it arrives.
    void Touched(const std::string& parameterId);
    void Released(const std::string& parameterId);
    void SetValueRequested(const std::string& parameterId, double value);

    // [any thread]
    std::vector<AutomationPoint> Points() const;
    size_t PointCount() const;
    // The parameters that have at least one point.
    std::set<std::string> WrittenParameters() const;

private:
    const AutomationMode mMode;
    mutable std::mutex mMutex;
    std::set<std::string> mTouched;
    std::set<std::string> mLatched;
    std::vector<AutomationPoint> mPoints;
};

} // namespace testhost
