#pragma once
// The host's view container as the plug-in side sees it: the native window to draw into.

#include "aax_library/AAX_Types.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;
    // [host thread] everything below.
    virtual AAX_EViewContainer_Type GetType() = 0;
    // The native window handle (borrowed); null without a container.
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;
    virtual AAX_Result SetViewSize(const AAX_Point& size) = 0;
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID parameterId, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID parameterId, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID parameterId, uint32_t modifiers) = 0;
};
