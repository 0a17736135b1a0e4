#pragma once
// One GUI object of the module, made and driven as an AAX host does: the factory's create
// procedure, a query for the GUI interface, Initialize with the controller of its data model.
// Gives everything back on destruction (view detached, Uninitialize, then its reference).

#include "aax_library/host/AAX_IACFEffectGUI.h"
#include "host_kit/ModuleObject.h"
#include "host_kit/TestHost.h"

namespace testhost
{

class DataModelInstance;
class HostController;
class HostViewContainer;

class GuiInstance : public ModuleObject<AAX_IACFEffectGUI>
{
public:
    // dataModel (borrowed, may be null) names the plug-in instance whose controller the GUI gets;
    // without one the GUI gets a controller of its own that answers no data model.
    GuiInstance(TestHost& host, AAX_CCreateProc create, DataModelInstance* dataModel, bool initialize = true);
    ~GuiInstance();

    HostController* Controller() const { return mController; }

    // [host thread] (Uninitialize and Release, which makes the instance invalid, are the object's
    // own.)
    AAX_Result Initialize();
    // A new container of the given type around window, handed to SetViewContainer.
    HostViewContainer* AttachView(int32_t type, void* window);
    // SetViewContainer(null).
    AAX_Result DetachView();
    HostViewContainer* View() const { return mView; }
    // One host timer tick.
    AAX_Result Tick() { return IsValid() ? Get()->TimerWakeup() : AAX_ERROR_NULL_OBJECT; }

private:
    TestHost& mHost;
    HostController* mController;
    HostViewContainer* mView = nullptr;
};

} // namespace testhost
