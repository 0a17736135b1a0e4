#pragma once
// The host's view container: the native window a GUI object draws into.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFViewContainer : public IACFUnknown
{
public:
    // [host thread]
    virtual int32_t GetType() = 0;
    // [host thread] the native window handle (borrowed).
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;
    virtual AAX_Result SetViewSize(const AAX_Point& size) = 0;
    virtual AAX_Result HandleParameterMouseDown(const char* parameterId, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag(const char* parameterId, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp(const char* parameterId, uint32_t modifiers) = 0;

protected:
    ~AAX_IACFViewContainer() = default;
};
