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
    if (create == nullptr)
        return;
    void* object = create();
    if (object == nullptr)
        return;
    auto* unknown = static_cast<IACFUnknown*>(object);
    void* gui = nullptr;
    mQueryResult = unknown->QueryInterface(IID_IAAXEffectGUIV1, &gui);
    if (mQueryResult != ACF_OK || gui == nullptr)
        return;
    mGui = static_cast<AAX_IACFEffectGUI*>(gui);
    if (initialize)
        Initialize();
}

GuiInstance::~GuiInstance()
{
    if (mView != nullptr)
        DetachView();
    if (mInitialized)
        Uninitialize();
    Release();
}

AAX_Result GuiInstance::Initialize()
{
    if (mGui == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    mInitializeResult = mGui->Initialize(mController);
    mInitialized = true;
    return mInitializeResult;
}

AAX_Result GuiInstance::Uninitialize()
{
    if (mGui == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    mInitialized = false;
    return mGui->Uninitialize();
}

HostViewContainer* GuiInstance::AttachView(int32_t type, void* window)
{
    if (mGui == nullptr)
        return nullptr;
    mView = mHost.NewViewContainer(type, window);
    mGui->SetViewContainer(mView);
    return mView;
}

AAX_Result GuiInstance::DetachView()
{
    if (mGui == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    mView = nullptr;
    return mGui->SetViewContainer(nullptr);
}

void GuiInstance::Release()
{
    if (mGui == nullptr)
        return;
    AAX_IACFEffectGUI* gui = mGui;
    mGui = nullptr;
    mInitialized = false;
    gui->Release();
}

} // namespace testhost
