#pragma once
// Forwards the GUI's view-container calls to the host's view container.

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_IViewContainer.h"
#include "aax_library/host/AAX_IACFViewContainer.h"
#include "platform/NonCopyable.h"

class AAX_VViewContainer : public AAX_IViewContainer, private NonCopyable
{
public:
    // [host thread] queries the host container for its first version; host may be null.
    explicit AAX_VViewContainer(IACFUnknown* host);
    ~AAX_VViewContainer() override;

    AAX_EViewContainer_Type GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* modifiers) override;
    AAX_Result SetViewSize(const AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown(AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag(AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp(AAX_CParamID parameterId, uint32_t modifiers) override;

private:
    AAX_IACFViewContainer* mIViewContainer = nullptr;
};
