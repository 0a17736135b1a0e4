#include "DelayTestHost.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>

namespace
{
constexpr size_t kTextBytes = 1024;
constexpr size_t kProgramNameBytes = 64;

intptr_t testHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    DelayHostState& state = DelayHost::state();
    switch (opcode)
    {
    case audioMasterVersion:
        return kVstVersion2400;
    case audioMasterGetTime:
        ++state.timeRequests;
        return state.answersTime ? reinterpret_cast<intptr_t>(&state.timeInfo) : 0;
    case audioMasterUpdateDisplay:
        ++state.displayUpdates;
        return 0;
    default:
        return 0;
    }
}

std::string textFrom(const char* buffer, size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}
} // namespace

DelayHostState& DelayHost::state()
{
    static DelayHostState instance;
    return instance;
}

DelayHost::DelayHost(const char* entryName)
{
    state() = DelayHostState{};
    state().timeInfo.sampleRate = 44100.0;
    state().timeInfo.tempo = 120.0;
    state().timeInfo.timeSigNumerator = 4;
    state().timeInfo.timeSigDenominator = 4;
    state().timeInfo.flags = kVstTempoValid | kVstPpqPosValid;

    library = dlopen(OMBREL_DELAY_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
    {
        loadError = dlerror();
        return;
    }
    auto entry = reinterpret_cast<VstPluginEntry>(dlsym(library, entryName));
    if (entry == nullptr)
    {
        loadError = std::string("no export ") + entryName;
        return;
    }
    effect = entry(&testHostCallback);
    if (effect == nullptr)
        loadError = "the entry returned no effect";
}

DelayHost::~DelayHost()
{
    if (effect != nullptr)
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    if (library != nullptr)
        dlclose(library);
}

intptr_t DelayHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void DelayHost::prepare(double sampleRate, int32_t blockSize)
{
    dispatch(effMainsChanged, 0, 0);
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, blockSize, blockSize);
    dispatch(effMainsChanged, 1, 1);
}

void DelayHost::setParameter(int32_t index, float value)
{
    effect->setParameter(effect, index, value);
}

float DelayHost::parameter(int32_t index) const
{
    return effect->getParameter(effect, index);
}

std::string DelayHost::name(int32_t index)
{
    char buffer[kTextBytes] = {};
    dispatch(effGetParamName, index, 0, buffer);
    return textFrom(buffer, sizeof(buffer));
}

std::string DelayHost::label(int32_t index)
{
    char buffer[kTextBytes] = {};
    dispatch(effGetParamLabel, index, 0, buffer);
    return textFrom(buffer, sizeof(buffer));
}

std::string DelayHost::display(int32_t index)
{
    char buffer[kTextBytes] = {};
    dispatch(effGetParamDisplay, index, 0, buffer);
    return textFrom(buffer, sizeof(buffer));
}

float DelayHost::valueShowing(int32_t index, const std::string& text)
{
    const float saved = parameter(index);
    float found = -1.0f;
    for (int32_t k = 0; k < kSweepPoints && found < 0.0f; ++k)
    {
        const float value = static_cast<float>(k * 0.01);
        setParameter(index, value);
        if (display(index) == text)
            found = value;
    }
    setParameter(index, saved);
    return found;
}

std::string DelayHost::programName()
{
    char buffer[kProgramNameBytes] = {};
    dispatch(effGetProgramName, 0, 0, buffer);
    return textFrom(buffer, sizeof(buffer));
}

std::string DelayHost::programNameIndexed(int32_t program)
{
    char buffer[kProgramNameBytes] = {};
    dispatch(effGetProgramNameIndexed, program, 0, buffer);
    return textFrom(buffer, sizeof(buffer));
}

std::vector<uint8_t> DelayHost::chunk(int32_t index)
{
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, index, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

void DelayHost::processStereo(std::vector<float>& left, std::vector<float>& right, int32_t blockSize)
{
    const size_t frames = std::min(left.size(), right.size());
    for (size_t start = 0; start < frames; start += static_cast<size_t>(blockSize))
    {
        const auto count = static_cast<int32_t>(std::min(frames - start, static_cast<size_t>(blockSize)));
        float* channels[2] = {left.data() + start, right.data() + start};
        effect->processReplacing(effect, channels, channels, count);
    }
}

void DelayHost::processMono(std::vector<float>& samples, int32_t blockSize)
{
    for (size_t start = 0; start < samples.size(); start += static_cast<size_t>(blockSize))
    {
        const auto count =
            static_cast<int32_t>(std::min(samples.size() - start, static_cast<size_t>(blockSize)));
        float* inputs[2] = {samples.data() + start, samples.data() + start};
        float* outputs[2] = {samples.data() + start, samples.data() + start};
        effect->processReplacing(effect, inputs, outputs, count);
    }
}

DelaySnapshot DelaySnapshot::take(DelayHost& host)
{
    DelaySnapshot snapshot;
    const auto current = static_cast<int32_t>(host.dispatch(effGetProgram));
    snapshot.current = current;
    for (int32_t program = 0; program < host.record()->numPrograms; ++program)
    {
        host.dispatch(effSetProgram, 0, program);
        snapshot.names.push_back(host.programName());
        std::vector<float> values;
        for (int32_t parameter = 0; parameter < host.record()->numParams; ++parameter)
            values.push_back(host.parameter(parameter));
        snapshot.values.push_back(values);
    }
    host.dispatch(effSetProgram, 0, current);
    return snapshot;
}

bool DelaySnapshot::operator==(const DelaySnapshot& other) const
{
    return current == other.current && names == other.names && values == other.values;
}
