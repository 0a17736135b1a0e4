#pragma once
// One instance of a VST 2 effect created straight from its library, with no bridge in between: the
// baseline the benchmarks hold the bridge and the module against. It is configured as the bridge
// configures an effect (suspend, rate, block size, resume) and answers the effect's callback with
// fixed values.

#include "platform/NonCopyable.h"
#include "vst2/Vst2Interface.h"

#include <cstdint>
#include <string>

class DirectEffect : private NonCopyable
{
public:
    // [host thread] Opens the library, creates the effect through its entry and resumes it at the
    // given rate and block size. On failure the instance is invalid and error() says why.
    DirectEffect(const std::string& libraryPath, float sampleRate, int32_t blockSize);
    // [host thread] Suspends and closes the effect, then gives the library back.
    ~DirectEffect();

    bool isValid() const { return effect != nullptr; }
    const std::string& error() const { return failure; }

    // [audio thread] One call of the effect's single-precision processing; the arrays hold two
    // channel pointers each, and may be the same memory (in place).
    void processReplacing(float** inputs, float** outputs, int32_t frames)
    {
        effect->processReplacing(effect, inputs, outputs, frames);
    }

private:
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) const;

    void* library = nullptr;
    // Borrowed from the library: closed, never freed, here.
    AEffect* effect = nullptr;
    std::string failure;
};
