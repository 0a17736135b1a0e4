#include "host_kit/TestHost.h"

#include "host_kit/HostComponentFactory.h"
#include "host_kit/HostController.h"
#include "host_kit/HostRoot.h"
#include "host_kit/HostViewContainer.h"

namespace testhost
{

TestHost::TestHost()
{
    mFactory = Create<HostComponentFactory>();
    mRoot = Create<HostRoot>(mFactory);
}

TestHost::~TestHost() = default;

IACFUnknown* TestHost::Unknown()
{
    return mRoot;
}

HostController* TestHost::NewController()
{
    return Create<HostController>();
}

HostViewContainer* TestHost::NewViewContainer(int32_t type, void* window)
{
    return Create<HostViewContainer>(type, window);
}

std::string TestHost::Label(IACFUnknown* unknown) const
{
    if (unknown == nullptr)
        return "null";
    if (HostObject* object = Find<HostObject>(unknown))
        return object->Label();
    return "foreign " + ToText(static_cast<const void*>(unknown));
}

int TestHost::SumOverObjects(int (HostObject::*count)() const) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    int total = 0;
    for (const auto& object : mObjects)
        total += (object.get()->*count)();
    return total;
}

int TestHost::OutstandingReferences() const
{
    return SumOverObjects(&HostObject::Outstanding);
}

int TestHost::OverReleases() const
{
    return SumOverObjects(&HostObject::OverReleases);
}

std::string TestHost::ReferenceReport() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::string report;
    for (const auto& object : mObjects)
        if (object->Outstanding() != 0 || object->OverReleases() != 0)
            report += object->Label() + ": " + std::to_string(object->AddRefs()) + " references taken, " +
                      std::to_string(object->Releases()) + " released, " +
                      std::to_string(object->OverReleases()) + " released beyond zero\n";
    return report;
}

} // namespace testhost
