#include "aax_adapter/JuceAAX_GUI.h"

#include "aax_adapter/HostFactory.h"
#include "aax_adapter/JuceAAX_Processor.h"

namespace AAXClasses
{

JuceAAX_GUI::~JuceAAX_GUI()
{
    // editorOwner keeps the effect alive until its editor is closed.
    releaseEffect();
}

AAX_Result JuceAAX_GUI::Uninitialize()
{
    // The data model may go as soon as the host releases it; nothing here keeps it past this point.
    releaseEffect();
    return AAX_CEffectGUI::Uninitialize();
}

void JuceAAX_GUI::closeEditor()
{
    if (editorOpen)
        dispatchToEditor(effEditClose);
    editorOpen = false;
}

void JuceAAX_GUI::releaseEffect()
{
    closeEditor();
    editorEffect = nullptr;
    if (editorOwner != nullptr)
    {
        AAX_IACFEffectParameters* owner = editorOwner;
        editorOwner = nullptr;
        owner->Release();
    }
}

void* JuceAAX_GUI::Create()
{
    return newForHost<AAX_IACFEffectGUI, JuceAAX_GUI>();
}

JuceAAX_Processor* JuceAAX_GUI::dataModelProcessor()
{
    AAX_IACFEffectParameters* dataModel = GetEffectParameters();
    return dataModel != nullptr ? dynamic_cast<JuceAAX_Processor*>(dataModel) : nullptr;
}

void JuceAAX_GUI::followEffectOf(JuceAAX_Processor& dataModel)
{
    AAX_IACFEffectParameters* owner = &dataModel;
    if (owner != editorOwner)
    {
        owner->AddRef();
        if (editorOwner != nullptr)
            editorOwner->Release();
        editorOwner = owner;
    }
    QuennetAudioProcessor* processor = dataModel.getProcessor();
    editorEffect = processor != nullptr ? processor->getEffect() : nullptr;
}

intptr_t JuceAAX_GUI::dispatchToEditor(int32_t opcode, void* ptr)
{
    if (editorEffect == nullptr || editorEffect->dispatcher == nullptr)
        return 0;
    return editorEffect->dispatcher(editorEffect, opcode, 0, 0, ptr, 0.0f);
}

void JuceAAX_GUI::CreateViewContents()
{
    if (editorEffect != nullptr)
        return;
    if (JuceAAX_Processor* dataModel = dataModelProcessor())
        followEffectOf(*dataModel);
}

void JuceAAX_GUI::CreateViewContainer()
{
    CreateViewContents();
    AAX_IViewContainer* container = GetViewContainer();
    if (container == nullptr)
        return;
    // Only a native window handle can parent the editor (on POSIX an X11 window id, which the
    // effect takes as its parent unchanged).
    void* window = container->GetPtr();
    if (window != nullptr && container->GetType() == AAX_eViewContainer_Type_HWND && editorEffect != nullptr)
    {
        // A new window while the editor is open elsewhere: it moves, closed there and opened here.
        closeEditor();
        // Some effects answer 0 although their editor opened, so the answer is not trusted.
        dispatchToEditor(effEditOpen, window);
        editorOpen = true;
    }
}

void JuceAAX_GUI::DeleteViewContainer()
{
    closeEditor();
}

AAX_Result JuceAAX_GUI::GetViewSize(AAX_Point* size)
{
    if (editorEffect == nullptr || size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    ERect* rect = nullptr;
    const intptr_t answered = dispatchToEditor(effEditGetRect, &rect);
    // An effect that supplies no rectangle, or declines the request with an empty one, leaves the
    // view as it is. Some effects answer 0 and still hand out their real rectangle.
    const bool empty = rect != nullptr && (rect->right <= rect->left || rect->bottom <= rect->top);
    if (rect == nullptr || (answered == 0 && empty))
        return AAX_ERROR_NULL_OBJECT;
    size->horz = static_cast<float>(rect->right - rect->left);
    size->vert = static_cast<float>(rect->bottom - rect->top);
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::TimerWakeup()
{
    if (JuceAAX_Processor* dataModel = dataModelProcessor())
    {
        followEffectOf(*dataModel);
        QuennetAudioProcessor* processor = dataModel->getProcessor();
        // The effect asked for a new size: this tick resizes the host view instead of idling.
        if (processor != nullptr && processor->takeEditorResizePending())
        {
            AAX_Point size{0.0f, 0.0f};
            GetViewSize(&size);
            if (AAX_IViewContainer* container = GetViewContainer())
                container->SetViewSize(size);
            return AAX_SUCCESS;
        }
    }
    if (editorEffect != nullptr)
        dispatchToEditor(effEditIdle);
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::ParameterUpdated(AAX_CParamID)
{
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, int32_t)
{
    return AAX_ERROR_NULL_OBJECT;
}

} // namespace AAXClasses
