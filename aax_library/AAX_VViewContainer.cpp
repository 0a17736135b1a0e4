#include "aax_library/AAX_VViewContainer.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* host)
{
    mIViewContainer = AAX_QueryHostInterface<AAX_IACFViewContainer>(host, IID_IAAXViewContainerV1);
}

// The query above gave a counted reference; handing it back here is what keeps the host's count
// balanced, so whoever holds the wrapper must delete it once the container is gone or replaced.
AAX_VViewContainer::~AAX_VViewContainer()
{
    AAX_ReleaseHostInterface(mIViewContainer);
}

AAX_EViewContainer_Type AAX_VViewContainer::GetType()
{
    if (mIViewContainer == nullptr)
        return AAX_eViewContainer_Type_NULL;
    return mIViewContainer->GetType();
}

void* AAX_VViewContainer::GetPtr()
{
    if (mIViewContainer == nullptr)
        return nullptr;
    return mIViewContainer->GetPtr();
}

AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* modifiers)
{
    if (mIViewContainer == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIViewContainer->GetModifiers(modifiers);
}

AAX_Result AAX_VViewContainer::SetViewSize(const AAX_Point& size)
{
    if (mIViewContainer == nullptr)
        return AAX_SUCCESS;
    return mIViewContainer->SetViewSize(size);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID parameterId, uint32_t modifiers)
{
    if (mIViewContainer == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIViewContainer->HandleParameterMouseDown(parameterId, modifiers);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag(AAX_CParamID parameterId, uint32_t modifiers)
{
    if (mIViewContainer == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIViewContainer->HandleParameterMouseDrag(parameterId, modifiers);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp(AAX_CParamID parameterId, uint32_t modifiers)
{
    if (mIViewContainer == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIViewContainer->HandleParameterMouseUp(parameterId, modifiers);
}
