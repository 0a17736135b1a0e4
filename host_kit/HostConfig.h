#pragma once
// What the test host offers and answers. A test sets these before the module asks; the host
// objects read them on every call.

#include "aax_library/AAX_ITransport.h"
#include "aax_library/AAX_StemFormats.h"
#include "aax_library/AAX_Types.h"

#include <map>
#include <string>

namespace testhost
{

// Which versions of an interface the host offers. V2 means both the first and the second.
enum class Offer
{
    None,
    V1,
    V2,
};

// How the host answers a module that asks it for its component factory.
enum class FactoryMode
{
    Offered,
    Withheld,      // the query fails
    NullOnSuccess, // the query reports success but hands out null (a broken host)
};

struct HostConfig
{
    // Interfaces and versions on offer.
    FactoryMode componentFactory = FactoryMode::Offered;
    Offer collection = Offer::V1;
    Offer effectDescriptor = Offer::V2;
    Offer componentDescriptor = Offer::V2;
    Offer propertyMap = Offer::V2;
    Offer hostServices = Offer::V1;
    Offer controller = Offer::V2;
    Offer transport = Offer::V2;
    Offer automationDelegate = Offer::V1;
    Offer viewContainer = Offer::V1;
    bool pluginDefinition = true;

    // Results: "Interface.Operation" -> the result the host answers (default AAX_SUCCESS). A
    // failing operation writes none of its out arguments.
    std::map<std::string, AAX_Result> results;

    // Controller answers.
    std::string effectId = "com.example.testhost.effect";
    std::string hostName = "Ombrel test host";
    float sampleRate = 48000.0f;
    int32_t inputStemFormat = AAX_eStemFormat_Stereo;
    int32_t outputStemFormat = AAX_eStemFormat_Stereo;
    int32_t hybridSignalLatency = 0;
    int32_t cycleCount = 0;
    int64_t timeOfDay = 0;
    int64_t automationTimestamp = 0;
    uint32_t meterCount = 0;

    // Transport answers.
    double tempo = 120.0;
    int32_t meterNumerator = 4;
    int32_t meterDenominator = 4;
    bool playing = false;
    int64_t tickPosition = 0;
    bool looping = false;
    int64_t loopStartTick = 0;
    int64_t loopEndTick = 0;
    int64_t nativeSampleLocation = 0;
    int64_t customTickPosition = 0;
    int32_t bars = 1;
    int32_t beats = 1;
    int64_t displayTicks = 0;
    uint32_t ticksPerQuarter = kAAX_TicksPerQuarterNote;
    uint32_t ticksPerBeat = kAAX_TicksPerQuarterNote;
    int64_t selectionStart = 0;
    int32_t frameRate = 0; // AAX frame-rate value; 0 is undeclared
    int32_t timeCodeOffset = 0;
    int32_t feetFramesRate = 0;
    int64_t feetFramesOffset = 0;
    int32_t metronomeEnabled = 0;

    // View-container answers (per container: see HostViewContainer).
    uint32_t modifiers = 0;

    // The configured result of an operation.
    AAX_Result ResultOf(const std::string& interface, const std::string& operation) const
    {
        // Most tests force no result; answering those without building a key keeps the host's
        // audio-thread answers free of allocation.
        if (results.empty())
            return AAX_SUCCESS;
        auto found = results.find(interface + "." + operation);
        return found != results.end() ? found->second : AAX_SUCCESS;
    }
    void SetResult(const std::string& interfaceDotOperation, AAX_Result result)
    {
        results[interfaceDotOperation] = result;
    }
};

} // namespace testhost
