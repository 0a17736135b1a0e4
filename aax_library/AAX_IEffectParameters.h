#pragma once
// The data-model object as the module builds it: the host's data-model interface first (so the
// object's address is that interface), the component base second.

#include "aax_library/CACFUnknown.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2, public CACFUnknown
{
protected:
    // [host thread] The derived class's initialisation hook. Declared first, so that it directly
    // follows the host's positions 0 to 47 in this object's table (position 48).
    virtual AAX_Result EffectInit() = 0;

public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    // [any thread] Answers both data-model interface versions with this object, otherwise defers
    // to the component base.
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && (iid == IID_IAAXEffectParametersV1 || iid == IID_IAAXEffectParametersV2))
            return AnswerInterface<AAX_IACFEffectParameters_V2>(this, out);
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

protected:
    ~AAX_IEffectParameters() override = default;
};
