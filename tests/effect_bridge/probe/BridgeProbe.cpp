#include "tests/effect_bridge/probe/BridgeProbe.h"

#include "effect_bridge/QuennetAudioProcessor.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#define OMBREL_PROBE_EXPORT extern "C" __declspec(dllexport)
#else
#include <dlfcn.h>
#define OMBREL_PROBE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#include <cstdio>

namespace
{

ProbeReport* report = nullptr;

void copyText(char* destination, const char* text)
{
    std::snprintf(destination, kProbeTextSize, "%s", text != nullptr ? text : "<null>");
}

uint32_t reportModuleFileName(platform::ModuleHandle module, char* fileName, uint32_t size)
{
    const uint32_t length = platform::systemCalls().getModuleFileName(module, fileName, size);
    copyText(report->moduleFileName, fileName);
    return length;
}

bool dllDirectoryReported = false;

// The directory the loader sets for loading the effect: its first call (the second puts the
// process's own directory back).
bool reportSetDllDirectory(const char* path)
{
    if (!dllDirectoryReported)
        copyText(report->dllDirectory, path);
    dllDirectoryReported = true;
    return platform::systemCalls().setDllDirectory(path);
}

platform::ModuleHandle reportLoadLibrary(const char* path)
{
    copyText(report->loadedPath, path);
    return platform::systemCalls().loadLibrary(path);
}

int32_t reportMessage(void*, const char* text, const char*, uint32_t)
{
    if (report->messageCount < kProbeMaxMessages)
        std::snprintf(report->messages[report->messageCount], sizeof(report->messages[0]), "%s", text);
    ++report->messageCount;
    return platform::kMessageBoxAnswerOk;
}

// The file the code at address came from, as the system loader names it.
void reportFileOf(const void* address, char* destination)
{
#ifdef _WIN32
    HMODULE module = nullptr;
    char fileName[kProbeTextSize] = {};
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(address), &module) != FALSE &&
        GetModuleFileNameA(module, fileName, sizeof(fileName)) != 0)
        copyText(destination, fileName);
#else
    Dl_info info{};
    if (dladdr(address, &info) != 0)
        copyText(destination, info.dli_fname);
#endif
}

} // namespace

OMBREL_PROBE_EXPORT void ombrelProbeLoadEffect(ProbeReport* destination)
{
    *destination = ProbeReport{};
    report = destination;
    dllDirectoryReported = false;
    const platform::PlatformCalls previous = platform::calls();
    platform::calls().getModuleFileName = reportModuleFileName;
    platform::calls().setDllDirectory = reportSetDllDirectory;
    platform::calls().loadLibrary = reportLoadLibrary;
    platform::calls().messageBox = reportMessage;
    {
        QuennetAudioProcessor processor;
        destination->loaded = processor.getEffect() != nullptr ? 1 : 0;
        destination->numParams = processor.getNumParameters();
        if (processor.getEffect() != nullptr)
            reportFileOf(reinterpret_cast<const void*>(processor.getEffect()->dispatcher),
                         destination->effectFile);
    }
    platform::calls() = previous;
    report = nullptr;
    // JUCE's timer thread must be gone before the library is unloaded.
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
}
