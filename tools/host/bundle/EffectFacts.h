#pragma once
// What `bundle` learns from a VST 2 effect before it wraps it: the texts and numbers the effect
// answers about itself, and how they travel from the child process that asked to the command.

#include <cstdint>
#include <string>

namespace ombrelhost
{

struct EffectFacts
{
    std::string name;     // effGetEffectName
    std::string vendor;   // effGetVendorString
    int32_t uniqueId = 0; // the effect's own product code
    int32_t inputs = 0;
    int32_t outputs = 0;
    int32_t latency = 0;  // initialDelay once the effect is running
    int32_t category = 0; // effGetPlugCategory, a VstPlugCategory

    // The facts as a JSON object, and back. FromJson fails with a reason on anything else.
    std::string ToJson() const;
    static bool FromJson(const std::string& json, EffectFacts& facts, std::string& error);
};

} // namespace ombrelhost
