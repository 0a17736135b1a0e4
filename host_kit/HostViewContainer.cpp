#include "host_kit/HostViewContainer.h"

#include "aax_library/AAX_GUIDs.h"

namespace testhost
{

IACFUnknown* HostViewContainer::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXViewContainerV1 && Config().viewContainer != Offer::None)
        return this;
    return nullptr;
}

int32_t HostViewContainer::GetType()
{
    Record("GetType");
    return mType;
}

void* HostViewContainer::GetPtr()
{
    Record("GetPtr");
    return mWindow;
}

AAX_Result HostViewContainer::GetModifiers(uint32_t* modifiers)
{
    Record("GetModifiers", static_cast<const void*>(modifiers));
    if (AAX_Result result = Answer("GetModifiers"))
        return result;
    if (modifiers == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *modifiers = Config().modifiers;
    return AAX_SUCCESS;
}

AAX_Result HostViewContainer::SetViewSize(const AAX_Point& size)
{
    Record("SetViewSize", size.vert, size.horz);
    if (AAX_Result result = Answer("SetViewSize"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mSizes.push_back(size);
    return AAX_SUCCESS;
}

AAX_Result HostViewContainer::HandleParameterMouseDown(const char* parameterId, uint32_t modifiers)
{
    Record("HandleParameterMouseDown", parameterId, modifiers);
    return Answer("HandleParameterMouseDown");
}

AAX_Result HostViewContainer::HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers)
{
    Record("HandleParameterMouseDrag", parameterId, modifiers);
    return Answer("HandleParameterMouseDrag");
}

AAX_Result HostViewContainer::HandleParameterMouseUp(const char* parameterId, uint32_t modifiers)
{
    Record("HandleParameterMouseUp", parameterId, modifiers);
    return Answer("HandleParameterMouseUp");
}

std::vector<AAX_Point> HostViewContainer::RequestedSizes() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mSizes;
}

} // namespace testhost
