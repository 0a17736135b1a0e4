#pragma once
// A shared library that contains the effect bridge, as the plug-in module does: copied into a folder
// and opened by a test, it constructs a processor there and reports what the loader did, so that the
// loader's real module lookup (the shared object containing the bridge) is exercised.

#include <cstdint>

constexpr int kProbeTextSize = 1024;
constexpr int kProbeMaxMessages = 4;

struct ProbeReport
{
    int32_t loaded;
    int32_t numParams;
    int32_t messageCount;
    char messages[kProbeMaxMessages][256];
    char moduleFileName[kProbeTextSize]; // what the module lookup answered
    char dllDirectory[kProbeTextSize];   // what the loader made the search directory
    char loadedPath[kProbeTextSize];     // what the loader asked the system to load
    char effectFile[kProbeTextSize];     // the file the effect's code came from
};

// Constructs and destroys one processor, then shuts the probe's JUCE down so it can be unloaded.
using ProbeLoadEffectProc = void (*)(ProbeReport* report);
constexpr const char* kProbeLoadEffectName = "ombrelProbeLoadEffect";
