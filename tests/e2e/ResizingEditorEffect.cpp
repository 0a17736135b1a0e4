// A small VST 2 effect for the editor test: its editor reports a small rectangle when opened and,
// a few idle calls later, asks the host for a larger one, as editors do that unfold a panel. The
// audio passes through unchanged.

#include "tests/test_effects/EffectRecord.h"
#include "tests/test_effects/GainEffectAudio.h"
#include "vst2/Vst2Interface.h"

#include <cstring>

#define RESIZING_EFFECT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

constexpr ERect kOpenedRect{0, 0, 120, 200}; // 200 x 120
constexpr ERect kGrownRect{0, 0, 480, 640};  // 640 x 480
constexpr int kIdleCallsBeforeGrowing = 3;

struct ResizingEffect
{
    AEffect record{}; // first: the host's AEffect* is this object's address
    audioMasterCallback host = nullptr;
    ERect rect = kOpenedRect;
    bool editorOpen = false;
    int idleCalls = 0;
    float gain = 1.0f;
};

ResizingEffect* Self(AEffect* effect)
{
    return reinterpret_cast<ResizingEffect*>(effect);
}

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void* ptr, float)
{
    ResizingEffect& self = *Self(effect);
    switch (opcode)
    {
    case effClose:
        delete &self;
        return 1;
    case effGetParamName:
        if (index == 0 && ptr != nullptr)
            std::strcpy(static_cast<char*>(ptr), "Gain");
        return 0;
    case effEditGetRect:
        if (ptr != nullptr)
            *static_cast<ERect**>(ptr) = &self.rect;
        return 1;
    case effEditOpen:
        self.editorOpen = ptr != nullptr;
        self.idleCalls = 0;
        self.rect = kOpenedRect;
        return 1;
    case effEditClose:
        self.editorOpen = false;
        return 1;
    case effEditIdle:
        if (self.editorOpen && ++self.idleCalls == kIdleCallsBeforeGrowing)
        {
            self.rect = kGrownRect;
            self.host(effect, audioMasterSizeWindow, kGrownRect.right, kGrownRect.bottom, nullptr, 0.0f);
        }
        return 1;
    default:
        return 0;
    }
}

using Audio = GainEffectAudio<ResizingEffect>;

} // namespace

// [host thread] exported as "main" through an assembler label: C++ keeps the name main for programs.
RESIZING_EFFECT_EXPORT AEffect* resizingEffectMain(audioMasterCallback host) __asm__("main");
RESIZING_EFFECT_EXPORT AEffect* resizingEffectMain(audioMasterCallback host)
{
    auto* self = new ResizingEffect();
    self->host = host;
    AEffect& record = self->record;
    fillEffectRecord(record, {Dispatch, Audio::SetParameter, Audio::GetParameter, Audio::Process, 1, 1, 2, 2,
                              effFlagsHasEditor | effFlagsCanReplacing, vstFourCC('O', 'm', 'R', 'z')});
    record.ioRatio = 1.0f;
    return &record;
}
