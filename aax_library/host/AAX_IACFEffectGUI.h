#pragma once
// The GUI interface the module implements and the host drives: positions 0 to 5 are the effect
// component's, 6 to 12 follow. The positions are the binary contract with the host: never reorder
// or insert.

#include "aax_library/AAX_IString.h"
#include "aax_library/host/AAX_IACFEffectComponent.h"

class AAX_IACFEffectGUI : public AAX_IACFEffectComponent
{
public:
    // [host thread] everything below.
    // container is the host's view container object or null (borrowed).
    virtual AAX_Result SetViewContainer(IACFUnknown* container) = 0;            // 6
    virtual AAX_Result GetViewSize(AAX_Point* size) = 0;                        // 7
    virtual AAX_Result Draw(AAX_Rect* area) = 0;                                // 8
    virtual AAX_Result TimerWakeup() = 0;                                       // 9
    virtual AAX_Result ParameterUpdated(AAX_CParamID id) = 0;                   // 10
    virtual AAX_Result GetCustomLabel(int32_t selector, AAX_IString* text) = 0; // 11
    virtual AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted,
                                               int32_t colour) = 0; // 12

protected:
    ~AAX_IACFEffectGUI() = default;
};
