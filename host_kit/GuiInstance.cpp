#include "host_kit/GuiInstance.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/HostViewContainer.h"

namespace testhost
{

GuiInstance::GuiInstance(TestHost& host, AAX_CCreateProc create, DataModelInstance* dataModel,
                         bool initialize)
    : mHost(host), mController(dataModel != nullptr ? dataModel->Controller() : host.NewController())
{
    mGui.Create(create, IID_IAAXEffectGUIV1);
    if (initialize)
        Initialize();
}

GuiInstance::~GuiInstance()
{
    if (mView != nullptr)
        DetachView();
    if (mGui.IsInitialized())
        Uninitialize();
    Release();
}

AAX_Result GuiInstance::Initialize()
{
    return mGui.Initialize(mController);
}

HostViewContainer* GuiInstance::AttachView(int32_t type, void* window)
{
    if (mGui.Get() == nullptr)
        return nullptr;
    mView = mHost.NewViewContainer(type, window);
    mGui.Get()->SetViewContainer(mView);
    return mView;
}

AAX_Result GuiInstance::DetachView()
{
    if (mGui.Get() == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    mView = nullptr;
    return mGui.Get()->SetViewContainer(nullptr);
}

} // namespace testhost
