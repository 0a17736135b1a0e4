// The library's exported entry. Hosts look for "main" (older ones) or "VSTPluginMain"; C++ reserves the
// name main for programs, so the function gets another name and is exported under "main" by an
// assembler label.

#include "examples/delay/DelayEffect.h"
#include "vst2/Vst2Interface.h"

#include <new>

#ifdef _WIN32
// DelayExports.def exports the entries, "main" under its own name.
#define OMBREL_DELAY_EXPORT extern "C"
#define OMBREL_DELAY_MAIN_LABEL
#else
#define OMBREL_DELAY_EXPORT extern "C" __attribute__((visibility("default")))
#define OMBREL_DELAY_MAIN_LABEL __asm__("main")
#endif

namespace
{
AEffect* createDelay(audioMasterCallback host)
{
    // Nothing may unwind into the host: running out of memory answers "no effect".
    auto* delay = new (std::nothrow) DelayEffect(host);
    return delay != nullptr ? delay->record() : nullptr;
}
} // namespace

// [host thread] creates one effect; the host owns it until it sends effClose.
OMBREL_DELAY_EXPORT AEffect* ombrelDelayMain(audioMasterCallback host) OMBREL_DELAY_MAIN_LABEL;
OMBREL_DELAY_EXPORT AEffect* ombrelDelayMain(audioMasterCallback host)
{
    return createDelay(host);
}

// [host thread] the VST 2.4 name of the same entry.
OMBREL_DELAY_EXPORT AEffect* VSTPluginMain(audioMasterCallback host)
{
    return createDelay(host);
}
