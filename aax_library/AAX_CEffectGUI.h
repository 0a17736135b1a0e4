#pragma once
// The base of the plug-in's GUI object: keeps the host's controller, transport and view container
// and a link to the instance's data-model object, and pushes every parameter to the view once
// the host attaches a container. A derived class supplies the view.

#include "aax_library/AAX_IEffectGUI.h"
#include "aax_library/AAX_VController.h"
#include "aax_library/AAX_VTransport.h"
#include "aax_library/AAX_VViewContainer.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"

#include <memory>

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    // [host thread] for every slot below.
    AAX_Result Initialize(IACFUnknown* controller) override;                                  // 3
    AAX_Result Uninitialize() override;                                                       // 4
    AAX_Result NotificationReceived(uint32_t type, const void* data, uint32_t size) override; // 5
    AAX_Result SetViewContainer(IACFUnknown* container) override;                             // 6
    AAX_Result GetViewSize(AAX_Point* size) override;                                         // 7
    AAX_Result Draw(AAX_Rect* area) override;                                                 // 8
    AAX_Result TimerWakeup() override;                                                        // 9
    AAX_Result ParameterUpdated(AAX_CParamID id) override;                                    // 10
    AAX_Result GetCustomLabel(int32_t selector, AAX_IString* text) override;                  // 11
    AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted,
                                       int32_t colour) override; // 12

protected:
    // [host thread] Calls ParameterUpdated once for every parameter of the data-model object; the
    // derived class supplies CreateViewContents, CreateViewContainer (open the view in
    // GetViewContainer()'s window) and DeleteViewContainer (GetViewContainer() is already null).
    void UpdateAllParameters() override; // 16

    // The host's wrappers, or null outside their lifetimes (borrowed).
    AAX_IController* GetController() { return mController.get(); }
    AAX_ITransport* GetTransport() { return mTransport.get(); }
    AAX_IViewContainer* GetViewContainer() { return mViewContainer.get(); }
    // The instance's data-model object, or null (borrowed; the GUI holds one reference to it).
    AAX_IACFEffectParameters* GetEffectParameters() { return mEffectParameters; }

    std::unique_ptr<AAX_VController> mController;
    AAX_IACFEffectParameters* mEffectParameters = nullptr; // one counted reference
    // Owned: replaced on a new attach and deleted on a detach, so no stale container is reachable.
    std::unique_ptr<AAX_VViewContainer> mViewContainer;
    std::unique_ptr<AAX_VTransport> mTransport;

private:
    void ReleaseHostObjects();
};
