// The processor's parameters and programs: JUCE's index-based operations, the effect-facing
// operations behind them, the display-text probe and the refresh that reports the effect's values.

#include "effect_bridge/QuennetAudioProcessor.h"

#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace
{

constexpr double kTextTableStep = 0.01;

// The effect's byte texts: UTF-8 where they are valid UTF-8 (Linux effects), otherwise read byte
// by byte as Latin-1 (the narrow code page of older Windows effects).
juce::String effectTextToString(const char* text)
{
    const size_t length = std::strlen(text);
    if (juce::CharPointer_UTF8::isValidString(text, static_cast<int>(length)))
        return juce::String::fromUTF8(text, static_cast<int>(length));
    juce::String result;
    result.preallocateBytes(length * 2);
    for (size_t i = 0; i < length; ++i)
        result += juce::String::charToString(static_cast<juce::juce_wchar>(static_cast<uint8_t>(text[i])));
    return result;
}

} // namespace

int QuennetAudioProcessor::getNumParameters()
{
    return effectParameterCount();
}

const juce::String QuennetAudioProcessor::getParameterName(int parameterIndex)
{
    if (!isParameterInRange(parameterIndex))
        return {};
    char name[kEffectTextSize];
    getEffectParameterName(parameterIndex, name);
    return juce::String(parameterIndex) + ": " + effectTextToString(name);
}

float QuennetAudioProcessor::getParameter(int parameterIndex)
{
    return getEffectParameter(parameterIndex);
}

const juce::String QuennetAudioProcessor::getParameterText(int parameterIndex)
{
    if (!isParameterInRange(parameterIndex))
        return {};
    char text[kEffectTextSize];
    getEffectParameterDisplay(parameterIndex, text);
    return effectTextToString(text);
}

int QuennetAudioProcessor::getParameterNumSteps(int parameterIndex)
{
    return buildParameterTextTable(parameterIndex);
}

void QuennetAudioProcessor::setParameter(int parameterIndex, float newValue)
{
    // Host writes are held back until the parameters are published (or, for a processor nobody
    // publishes, until the first refresh has run). A refresh under way does not hold them back: it
    // reports nothing to the listeners that would reach the effect, and a write it overtakes wins.
    if (suppressParameterForwarding)
        return;
    // The host's answer to a value the effect reported is not sent back. The effect holds that
    // value already (or a newer one, which an older answer would undo), and an effect that keeps one
    // setting in two forms (a direction as angles and as coordinates) answers a write to one form
    // with a report of the other, a last bit off: each report sent back would bring another,
    // without end.
    if (hostValues.takeAnswer(parameterIndex, newValue))
        return;
    setEffectParameter(parameterIndex, newValue);
    hostValues.noteHostWrite(parameterIndex, newValue);
}

bool QuennetAudioProcessor::isParameterAutomatable(int parameterIndex) const
{
    if (!isParameterInRange(parameterIndex))
        return false;
    char name[kEffectTextSize];
    effectText(effGetParamName, parameterIndex, name);
    return name[0] != '\0' && name[0] != '-' && name[0] != '~';
}

int QuennetAudioProcessor::getNumPrograms()
{
    return effect != nullptr ? effectProgramCount() : 1;
}

int QuennetAudioProcessor::getCurrentProgram()
{
    if (effect == nullptr)
        return currentProgram;
    const auto program = static_cast<int32_t>(dispatch(effGetProgram));
    currentProgram = program;
    return program;
}

void QuennetAudioProcessor::setCurrentProgram(int index)
{
    // A program the effect does not have never reaches it: effects index their program tables
    // with this number, and a restored block may carry any value.
    if (!isProgramInRange(index))
        return;
    currentProgram = index;
    dispatch(effSetProgram, 0, index);
}

const juce::String QuennetAudioProcessor::getProgramName(int)
{
    if (effect == nullptr)
        return {};
    char name[kEffectTextSize];
    effectText(effGetProgramName, 0, name);
    return effectTextToString(name);
}

void QuennetAudioProcessor::changeProgramName(int, const juce::String&) {}

//==============================================================================
int32_t QuennetAudioProcessor::buildParameterTextTable(int32_t index)
{
    if (!isParameterInRange(index) || parameterTexts.row(index) == nullptr)
        return 0;
    // The sweep moves the effect's value through its whole range: a refresh must not read it
    // meanwhile, nor the row and its count while they are written.
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    const float remembered = getEffectParameter(index);
    char previous[kEffectTextSize] = {};
    char text[kEffectTextSize];
    int32_t changes = 0;
    for (int step = 0; step < ParameterTextTable::kSteps; ++step)
    {
        // Some effects throw for a few values of a parameter (one throws std::bad_alloc at its
        // top two): only those values' texts are lost, and the parameter is still published.
        try
        {
            setEffectParameter(index, static_cast<float>(step * kTextTableStep));
            getEffectParameterDisplay(index, text);
        }
        catch (...)
        {
            continue;
        }
        if (std::strcmp(text, previous) != 0)
        {
            std::memcpy(previous, text, sizeof(previous));
            ++changes;
        }
        parameterTexts.store(index, step, text);
    }
    try
    {
        setEffectParameter(index, remembered);
    }
    catch (...)
    {
        // A value the effect holds but refuses to be given back: it stays at the last one probed.
    }
    parameterTexts.setTextCount(index, changes);
    return changes;
}

void QuennetAudioProcessor::parameterText(int32_t opcode, int32_t index, char* destination) const
{
    if (destination == nullptr)
        return;
    destination[0] = '\0';
    if (isParameterInRange(index))
        effectText(opcode, index, destination);
}

void QuennetAudioProcessor::getEffectParameterLabel(int32_t index, char* destination)
{
    parameterText(effGetParamLabel, index, destination);
}

bool QuennetAudioProcessor::getEffectParameterProperties(int32_t index, VstParameterProperties* destination)
{
    if (destination == nullptr || !isParameterInRange(index))
        return false;
    *destination = VstParameterProperties{};
    const bool filled = dispatch(effGetParameterProperties, index, 0, destination) != 0;
    destination->label[sizeof(destination->label) - 1] = '\0';
    destination->shortLabel[sizeof(destination->shortLabel) - 1] = '\0';
    destination->categoryLabel[sizeof(destination->categoryLabel) - 1] = '\0';
    return filled;
}

void QuennetAudioProcessor::getEffectParameterName(int32_t index, char* destination)
{
    parameterText(effGetParamName, index, destination);
}

void QuennetAudioProcessor::getEffectParameterDisplay(int32_t index, char* destination)
{
    parameterText(effGetParamDisplay, index, destination);
}

float QuennetAudioProcessor::getEffectParameter(int32_t index)
{
    if (!isParameterInRange(index) || effect->getParameter == nullptr)
        return 0.0f;
    return effect->getParameter(effect, index);
}

void QuennetAudioProcessor::setEffectParameter(int32_t index, float value)
{
    if (isParameterInRange(index) && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

bool QuennetAudioProcessor::canEffectParameterBeAutomated(int32_t index)
{
    return isParameterInRange(index) && dispatch(effCanBeAutomated, index) != 0;
}

void QuennetAudioProcessor::refreshParametersFromEffect()
{
    OMBREL_ASSERT_MESSAGE_THREAD_IF_RUNNING();
    if (refreshingParameters || effect == nullptr)
        return;
    struct Reading
    {
        int32_t index;
        float value;
        uint32_t hostWrites; // the parameter's count of host writes before it was read
    };
    std::vector<Reading> changed;
    {
        std::unique_lock<std::mutex> stateOperation(stateOperationLock, std::try_to_lock);
        if (!stateOperation.owns_lock())
        {
            // The effect is being saved or restored: what it holds now is no state to report.
            refreshCountdown = kRefreshTicks;
            return;
        }
        refreshingParameters = true;
        const int32_t numParameters = effectParameterCount();
        changed.reserve(static_cast<size_t>(numParameters));
        for (int32_t index = 0; index < numParameters && !closing; ++index)
        {
            const uint32_t hostWrites = hostValues.hostWrites(index);
            const float value = getEffectParameter(index);
            if (hostWouldSeeChange(index, value))
                changed.push_back(Reading{index, value, hostWrites});
        }
    }
    // The host is called without the state lock: it may save or restore from another thread
    // meanwhile, and wait for that before it returns.
    for (const Reading& reading : changed)
    {
        if (closing)
            break;
        // A host write since the read reached the effect after the value read here: the host's
        // value is the newer one and stays.
        if (hostValues.hostWrites(reading.index) != reading.hostWrites ||
            !hostValues.differs(reading.index, reading.value))
            continue;
        hostValues.noteSentToHost(reading.index, reading.value);
        sendParamChangeMessageToListeners(reading.index, reading.value);
    }
    // Host writes are accepted before the program is read, so that whoever sees that last call of
    // the refresh reach the effect may rely on host writes reaching it too.
    suppressParameterForwarding = false;
    refreshingParameters = false;
    std::unique_lock<std::mutex> stateOperation(stateOperationLock, std::try_to_lock);
    if (stateOperation.owns_lock() && !closing)
        currentProgram = static_cast<int32_t>(dispatch(effGetProgram));
}

bool QuennetAudioProcessor::hostWouldSeeChange(int32_t index, float value) const
{
    // A switch or a choice shows one of a few texts: a value moving within its text (0.75 to 0.8
    // of a switch that is on above one half) is not news to the host, and writing it would record
    // automation for nothing. Continuous parameters compare the value itself.
    float seen = 0.0f;
    if (!parameterTexts.isStepped(index) || !hostValues.lastSeen(index, seen))
        return hostValues.differs(index, value);
    return std::strcmp(parameterTexts.textAt(index, seen), parameterTexts.textAt(index, value)) != 0;
}

void QuennetAudioProcessor::discardPendingRefresh()
{
    refreshCountdown = kRefreshIdle;
}

void QuennetAudioProcessor::acceptHostWrites()
{
    // The published parameters start at these values, so they are what the host has seen.
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    const int32_t numParameters = effectParameterCount();
    for (int32_t index = 0; index < numParameters; ++index)
        hostValues.noteReported(index, getEffectParameter(index));
    suppressParameterForwarding = false;
}

void QuennetAudioProcessor::requestRefresh()
{
    int32_t ticks = refreshCountdown.load();
    while (ticks <= 0 && !refreshCountdown.compare_exchange_weak(ticks, kRefreshTicks))
    {
    }
}

void QuennetAudioProcessor::noteValueShownToHost(int32_t index, float value)
{
    hostValues.noteReported(index, value);
}

intptr_t QuennetAudioProcessor::setEffectSpeakerArrangement()
{
    if (effect == nullptr)
        return 0;
    VstSpeakerArrangement input{};
    input.type = kSpeakerArrStereo;
    input.numChannels = 2;
    VstSpeakerArrangement output = input;
    return dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output);
}

void QuennetAudioProcessor::setParameterFromEffect(int32_t index, float value)
{
    if (!isParameterInRange(index))
        return;
    // The effect reported a value it already holds; setting it back could undo a newer one it set
    // meanwhile on another thread.
    hostValues.noteSentToHost(index, value);
    sendParamChangeMessageToListeners(index, value);
}

//==============================================================================
void QuennetAudioProcessor::timerCallback()
{
    OMBREL_ASSERT_MESSAGE_THREAD_IF_RUNNING();
    // The effect may restart the countdown from another thread at any moment; only a countdown
    // that this tick itself brought to 0 runs the refresh.
    int32_t ticks = refreshCountdown.load();
    while (ticks >= 0 && !refreshCountdown.compare_exchange_weak(ticks, ticks - 1))
    {
    }
    if (ticks == 1)
        refreshParametersFromEffect();
}

void QuennetAudioProcessor::audioProcessorParameterChanged(juce::AudioProcessor*, int, float) {}

void QuennetAudioProcessor::audioProcessorChanged(juce::AudioProcessor*,
                                                  const juce::AudioProcessorListener::ChangeDetails&)
{
    requestRefresh();
}
