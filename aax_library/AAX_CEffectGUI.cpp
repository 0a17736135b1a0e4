#include "aax_library/AAX_CEffectGUI.h"

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_GuardHostCall.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    ReleaseHostObjects();
    mViewContainer.reset();
}

void AAX_CEffectGUI::ReleaseHostObjects()
{
    if (mEffectParameters != nullptr)
    {
        mEffectParameters->Release();
        mEffectParameters = nullptr;
    }
    mController.reset();
    mTransport.reset();
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* controller)
{
    return GuardHostCall(
        [&]() -> AAX_Result
        {
            // A second initialisation gives back what the first one took.
            ReleaseHostObjects();
            mController = std::make_unique<AAX_VController>(controller);
            if (controller == nullptr)
                return AAX_ERROR_NOT_INITIALIZED;

            void* effectParameters = nullptr;
            if (controller->QueryInterface(IID_IAAXEffectParametersV1, &effectParameters) == ACF_OK)
                mEffectParameters = static_cast<AAX_IACFEffectParameters*>(effectParameters);

            mTransport = std::make_unique<AAX_VTransport>(controller);
            CreateViewContents();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    ReleaseHostObjects();
    return AAX_SUCCESS;
}

// The base view follows no host notification; a derived view that does overrides this.
AAX_Result AAX_CEffectGUI::NotificationReceived(uint32_t /*type*/, const void* /*data*/, uint32_t /*size*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* container)
{
    return GuardHostCall(
        [&]
        {
            // The old wrapper lives until the derived class has moved off it, then it goes with the
            // host reference it holds.
            std::unique_ptr<AAX_VViewContainer> previous = std::move(mViewContainer);
            if (container == nullptr)
            {
                DeleteViewContainer();
                return AAX_SUCCESS;
            }
            mViewContainer = std::make_unique<AAX_VViewContainer>(container);
            CreateViewContainer();
            UpdateAllParameters();
            return AAX_SUCCESS;
        });
}

// The base has no view of its own, so it has no size to give; the size stays the host's.
AAX_Result AAX_CEffectGUI::GetViewSize(AAX_Point* /*size*/)
{
    return AAX_SUCCESS;
}

// Views draw into the native window they are given, never through the host.
AAX_Result AAX_CEffectGUI::Draw(AAX_Rect* /*area*/)
{
    return AAX_SUCCESS;
}

// Nothing in the base works on the host's idle timer.
AAX_Result AAX_CEffectGUI::TimerWakeup()
{
    return AAX_SUCCESS;
}

// The base view shows no parameter, so there is nothing to redraw.
AAX_Result AAX_CEffectGUI::ParameterUpdated(AAX_CParamID /*id*/)
{
    return AAX_SUCCESS;
}

// No custom labels: the error tells the host to use its own label, and the text stays as it was.
AAX_Result AAX_CEffectGUI::GetCustomLabel(int32_t /*selector*/, AAX_IString* /*text*/)
{
    return AAX_ERROR_NULL_OBJECT;
}

// The effect's own editor has no control the host could highlight, so the highlight is accepted and
// shown nowhere.
AAX_Result AAX_CEffectGUI::SetControlHighlightInfo(AAX_CParamID /*id*/, AAX_CBoolean /*highlighted*/,
                                                   int32_t /*colour*/)
{
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (mEffectParameters == nullptr)
        return;
    int32_t count = 0;
    if (mEffectParameters->GetNumberOfParameters(&count) != AAX_SUCCESS)
        return;
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString identifier;
        if (mEffectParameters->GetParameterIDFromIndex(index, &identifier) == AAX_SUCCESS)
            ParameterUpdated(identifier.Get());
    }
}
