// The editor probe effect (see EditorProbeEffect.h). It passes audio through unchanged.

#include "tests/aax_adapter/EditorProbeEffect.h"

#include <cstring>

#define EDITOR_PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

EditorProbeLog probeLog;
ERect rectangle{0, 0, 300, 500};
bool suppliesRectangle = true;
AEffect* liveEffect = nullptr;
audioMasterCallback liveHost = nullptr;

// The editor calls, and the effect's own close, which must come after the editor's last call.
bool isLoggedCall(int32_t opcode)
{
    return opcode == effEditGetRect || opcode == effEditOpen || opcode == effEditClose ||
           opcode == effEditIdle || opcode == effClose;
}

intptr_t dispatcher(AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr, float)
{
    if (isLoggedCall(opcode) && probeLog.count < kEditorProbeLogCapacity)
        probeLog.calls[probeLog.count++] = EditorProbeCall{opcode, reinterpret_cast<uintptr_t>(ptr)};
    switch (opcode)
    {
    case effClose:
        if (liveEffect == effect)
            liveEffect = nullptr;
        delete effect;
        return 0;
    case effEditGetRect:
        if (suppliesRectangle && ptr != nullptr)
            *static_cast<ERect**>(ptr) = &rectangle;
        return suppliesRectangle ? 1 : 0;
    case effEditOpen:
        return 1;
    default:
        return 0;
    }
}

void processReplacing(AEffect*, float** inputs, float** outputs, int32_t frames)
{
    for (int channel = 0; channel < 2; ++channel)
        if (inputs[channel] != outputs[channel])
            std::memmove(outputs[channel], inputs[channel], sizeof(float) * static_cast<size_t>(frames));
}

void setParameter(AEffect*, int32_t, float) {}

float getParameter(AEffect*, int32_t)
{
    return 0.0f;
}

} // namespace

// C++ reserves the name main for programs: exported under it by an assembler label.
EDITOR_PROBE_EXPORT AEffect* editorProbeMain(audioMasterCallback host) __asm__("main");
EDITOR_PROBE_EXPORT AEffect* editorProbeMain(audioMasterCallback host)
{
    auto* effect = new AEffect{};
    effect->magic = kEffectMagic;
    effect->dispatcher = dispatcher;
    effect->setParameter = setParameter;
    effect->getParameter = getParameter;
    effect->processReplacing = processReplacing;
    effect->numPrograms = 1;
    effect->numInputs = 2;
    effect->numOutputs = 2;
    effect->flags = effFlagsHasEditor | effFlagsCanReplacing;
    effect->uniqueID = vstFourCC('O', 'E', 'P', 'r');
    liveEffect = effect;
    liveHost = host;
    return effect;
}

EDITOR_PROBE_EXPORT void ombrelEditorProbeSetRect(const ERect* rect)
{
    suppliesRectangle = rect != nullptr;
    if (rect != nullptr)
        rectangle = *rect;
}

EDITOR_PROBE_EXPORT EditorProbeLog* ombrelEditorProbeLog()
{
    return &probeLog;
}

EDITOR_PROBE_EXPORT intptr_t ombrelEditorProbeRequestResize(int32_t width, int32_t height)
{
    if (liveEffect == nullptr || liveHost == nullptr)
        return 0;
    return liveHost(liveEffect, audioMasterSizeWindow, width, height, nullptr, 0.0f);
}
