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
    Create(create, IID_IAAXEffectGUIV1);
    if (initialize)
        Initialize();
}

GuiInstance::~GuiInstance()
{
    if (mView != nullptr)
        DetachView();
    if (IsInitialized())
        Uninitialize();
    Release();
}

AAX_Result GuiInstance::Initialize()
{
    return ModuleObject::Initialize(mController);
}

HostViewContainer* GuiInstance::AttachView(int32_t type, void* window)
{
    if (Get() == nullptr)
        return nullptr;
    mView = mHost.NewViewContainer(type, window);
    Get()->SetViewContainer(mView);
    return mView;
}

AAX_Result GuiInstance::DetachView()
{
    if (Get() == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    mView = nullptr;
    return Get()->SetViewContainer(nullptr);
}

} // namespace testhost
