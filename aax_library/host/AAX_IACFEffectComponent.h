#pragma once
// The start shared by the data-model and GUI interfaces: positions 0 to 2 are IACFUnknown's, 3 to 5
// the life-cycle operations below. The positions are the binary contract with the host: never
// reorder or insert.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFEffectComponent : public IACFUnknown
{
public:
    // [host thread] controller is the host's controller object (borrowed).
    virtual AAX_Result Initialize(IACFUnknown* controller) = 0;                                  // 3
    virtual AAX_Result Uninitialize() = 0;                                                       // 4
    virtual AAX_Result NotificationReceived(uint32_t type, const void* data, uint32_t size) = 0; // 5

protected:
    ~AAX_IACFEffectComponent() = default;
};
