#pragma once
// The host's view container: the native window a GUI object is given, and the sizes it asks for.

#include "aax_library/AAX_Enums.h"
#include "aax_library/host/AAX_IACFViewContainer.h"
#include "host_kit/HostObject.h"

#include <mutex>
#include <vector>

namespace testhost
{

class HostViewContainer : public AAX_IACFViewContainer, public HostObject
{
public:
    // type: AAX_eViewContainer_Type_*; window: the native handle (an X11 window id on POSIX).
    HostViewContainer(TestHost& host, int32_t type, void* window)
        : HostObject(host, "ViewContainer"), mType(type), mWindow(window)
    {
    }
    TESTHOST_IACFUNKNOWN()

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* modifiers) override;
    AAX_Result SetViewSize(const AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown(const char* parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp(const char* parameterId, uint32_t modifiers) override;

    // [any thread] every size the module asked for, in order.
    std::vector<AAX_Point> RequestedSizes() const;

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    const int32_t mType;
    void* const mWindow;
    mutable std::mutex mMutex;
    std::vector<AAX_Point> mSizes;
};

} // namespace testhost
