#pragma once
// The GUI object as the module builds it: the host's GUI interface first (so the object's address
// is that interface), the component base second.

#include "aax_library/CACFUnknown.h"
#include "aax_library/host/AAX_IACFEffectGUI.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    // [any thread] Answers the GUI interface with this object, otherwise defers to the component base.
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == IID_IAAXEffectGUIV1)
        {
            AAX_IACFEffectGUI* const self = this;
            *out = self;
            self->AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

protected:
    ~AAX_IEffectGUI() override = default;
};
