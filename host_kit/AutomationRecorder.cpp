#include "host_kit/AutomationRecorder.h"

namespace testhost
{

void AutomationRecorder::Touched(const std::string& parameterId)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    mTouched.insert(parameterId);
    mLatched.insert(parameterId);
}

void AutomationRecorder::Released(const std::string& parameterId)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    mTouched.erase(parameterId);
}

void AutomationRecorder::SetValueRequested(const std::string& parameterId, double value)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    bool writes = false;
    switch (mMode)
    {
    case AutomationMode::Read:
        break;
    case AutomationMode::Touch:
        writes = mTouched.count(parameterId) > 0;
        break;
    case AutomationMode::Latch:
        writes = mLatched.count(parameterId) > 0;
        break;
    case AutomationMode::Write:
        writes = true;
        break;
    }
    if (writes)
        mPoints.push_back(AutomationPoint{parameterId, value});
}

std::vector<AutomationPoint> AutomationRecorder::Points() const
{
    const std::lock_guard<std::mutex> lock(mMutex);
    return mPoints;
}

size_t AutomationRecorder::PointCount() const
{
    const std::lock_guard<std::mutex> lock(mMutex);
    return mPoints.size();
}

std::set<std::string> AutomationRecorder::WrittenParameters() const
{
    const std::lock_guard<std::mutex> lock(mMutex);
    std::set<std::string> written;
    for (const AutomationPoint& point : mPoints)
        written.insert(point.parameterId);
    return written;
}

} // namespace testhost
