#pragma once
// The GUI object of one plug-in instance. It shows the hosted effect's own editor directly in the
// host's plug-in window: the editor opens in the native window the host's view container offers,
// the host view takes the editor's size, host timer ticks become the editor's idle calls, and the
// view follows the effect's resize requests. Everything goes through the effect's dispatcher.

#include "aax_library/AAX_CEffectGUI.h"
#include "vst2/Vst2Interface.h"

namespace AAXClasses
{

class JuceAAX_Processor;

class JuceAAX_GUI : public AAX_CEffectGUI
{
public:
    JuceAAX_GUI() = default;
    // [host thread] Closes the effect's editor if it is still open and gives the data model back.
    ~JuceAAX_GUI() override;

    // [host thread] The GUI factory the description registers: a new object's primary interface,
    // or null when it cannot be made.
    static void* Create();

    // AAX_CEffectGUI, in slot order. [host thread]
    // Closes the editor if it is open and gives the data-model reference back before the base
    // releases the host's objects.
    AAX_Result Uninitialize() override;
    AAX_Result GetViewSize(AAX_Point* size) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated(AAX_CParamID id) override;
    AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted, int32_t colour) override;

protected:
    // [host thread] Called by the base from Initialize and as the host sets or clears its view
    // container.
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;

private:
    // The instance's data-model object when it is one of this module's, else null (borrowed).
    JuceAAX_Processor* dataModelProcessor();
    // Takes the effect of the data-model object's processor, keeping that object alive while its
    // effect may still be called from here.
    void followEffectOf(JuceAAX_Processor& dataModel);
    intptr_t dispatchToEditor(int32_t opcode, void* ptr = nullptr);
    void closeEditor();
    void releaseEffect();

    // The loaded effect, or null (borrowed from the processor of editorOwner).
    AEffect* editorEffect = nullptr;
    // One counted reference to the data-model object whose effect editorEffect is: the effect
    // lives as long as that object, and the editor is closed once more at destruction.
    AAX_IACFEffectParameters* editorOwner = nullptr;
    // Whether the effect's editor is open: it is opened once and closed once.
    bool editorOpen = false;
};

} // namespace AAXClasses
