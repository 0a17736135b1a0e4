#pragma once
// The GUI object as the module builds it: the host's GUI interface first (so the object's address
// is that interface), the component base second.

#include "aax_library/CACFUnknown.h"
#include "aax_library/host/AAX_IACFEffectGUI.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
protected:
    // The derived class's view hooks. Declared first, so that they directly follow the host's
    // positions 0 to 12 in this object's table (positions 13 to 16).
    // [host thread, initialised] Called at the end of Initialize: build what the view needs without
    // a window.
    virtual void CreateViewContents() = 0; // 13
    // [host thread] A container was attached: open the view in its window.
    virtual void CreateViewContainer() = 0; // 14
    // [host thread] The container was detached (it is no longer reachable): close the view.
    virtual void DeleteViewContainer() = 0; // 15
    // [host thread] Calls ParameterUpdated once for every parameter of the data-model object.
    virtual void UpdateAllParameters() = 0; // 16

public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    // [any thread] Answers the GUI interface with this object, otherwise defers to the component base.
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == IID_IAAXEffectGUIV1)
            return AnswerInterface<AAX_IACFEffectGUI>(this, out);
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

protected:
    ~AAX_IEffectGUI() override = default;
};
