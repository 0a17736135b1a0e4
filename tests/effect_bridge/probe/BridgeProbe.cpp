#include "tests/effect_bridge/probe/BridgeProbe.h"

#include "effect_bridge/QuennetAudioProcessor.h"

#include <dlfcn.h>

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

} // namespace

extern "C" __attribute__((visibility("default"))) void ombrelProbeLoadEffect(ProbeReport* destination)
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
        destination->loaded = processor.effect != nullptr ? 1 : 0;
        destination->numParams = processor.getNumParameters();
        Dl_info info{};
        if (processor.effect != nullptr &&
            dladdr(reinterpret_cast<const void*>(processor.effect->dispatcher), &info) != 0)
            copyText(destination->effectFile, info.dli_fname);
    }
    platform::calls() = previous;
    report = nullptr;
    // JUCE's timer thread must be gone before the library is unloaded.
    juce::DeletedAtShutdown::deleteAll();
    juce::MessageManager::deleteInstance();
}
