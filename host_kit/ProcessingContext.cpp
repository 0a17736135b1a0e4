#include "host_kit/ProcessingContext.h"

#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "host_kit/HostController.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace testhost
{

ProcessingContext::ProcessingContext(const ComponentDescription& component, int32_t maxBlockLength,
                                     int32_t guardSamples, int32_t guardChannels)
    : mMaxBlockLength(std::max(maxBlockLength, 0)), mGuardSamples(std::max(guardSamples, 0)),
      mGuardChannels(std::max(guardChannels, 0)), mInputCount(std::max(component.InputChannels(), 0)),
      mOutputCount(std::max(component.OutputChannels(), 0)), mBlockLength(std::max(maxBlockLength, 0))
{
    const size_t samples = static_cast<size_t>(mMaxBlockLength);
    const size_t stored = samples + 2 * static_cast<size_t>(mGuardSamples);
    mInputs.assign(static_cast<size_t>(mInputCount + mGuardChannels), std::vector<float>(stored, 0.0f));
    mOutputs.assign(static_cast<size_t>(mOutputCount + mGuardChannels), std::vector<float>(stored, 0.0f));
    for (auto& channel : mInputs)
        mInputPointers.push_back(channel.data() + mGuardSamples);
    for (auto& channel : mOutputs)
        mOutputPointers.push_back(channel.data() + mGuardSamples);

    int32_t fieldCount = 0;
    for (const FieldDeclaration& declaration : component.fields)
        fieldCount = std::max(fieldCount, declaration.field + 1);
    mRecord.assign(static_cast<size_t>(fieldCount), nullptr);

    for (const FieldDeclaration& declaration : component.fields)
    {
        if (declaration.field < 0)
            continue;
        void*& entry = mRecord[static_cast<size_t>(declaration.field)];
        const auto value = [&](size_t i)
        { return i < declaration.values.size() ? declaration.values[i] : 0; };
        if (declaration.kind == "AudioIn")
            entry = mInputPointers.data();
        else if (declaration.kind == "AudioOut")
            entry = mOutputPointers.data();
        else if (declaration.kind == "AudioBufferLength")
            entry = &mBlockLength;
        else if (declaration.kind == "SampleRate")
            entry = &mSampleRate;
        else if (declaration.kind == "Clock")
            entry = &mClock;
        else if (declaration.kind == "MIDINode")
        {
            entry = static_cast<AAX_IMIDINode*>(&mMidi);
            mMidiFields.push_back(declaration.field);
        }
        else if (declaration.kind == "DataInPort")
        {
            entry = AddStorage(declaration.field, static_cast<size_t>(std::max<int64_t>(value(0), 0)));
            mPortFields.push_back(declaration.field);
        }
        else if (declaration.kind == "PrivateData")
        {
            entry = AddStorage(declaration.field, static_cast<size_t>(std::max<int64_t>(value(0), 0)));
            mPrivateFields.push_back(declaration.field);
        }
        else if (declaration.kind == "TemporaryData")
            entry =
                AddStorage(declaration.field, static_cast<size_t>(std::max<int64_t>(value(0), 0)) * samples);
    }
}

void* ProcessingContext::AddStorage(int32_t field, size_t size)
{
    Storage& storage = mStorage[field];
    storage.size = size;
    storage.words.assign((size + 7) / 8 + 1, 0);
    return storage.words.data();
}

void* ProcessingContext::FieldValue(int32_t field) const
{
    if (field < 0 || static_cast<size_t>(field) >= mRecord.size())
        return nullptr;
    return mRecord[static_cast<size_t>(field)];
}

void ProcessingContext::FillInputs(float value)
{
    for (int32_t c = 0; c < mInputCount; ++c)
        std::fill(Input(c), Input(c) + mMaxBlockLength, value);
    for (int32_t c = 0; c < mOutputCount; ++c)
        std::fill(Output(c), Output(c) + mMaxBlockLength, 0.0f);
}

void ProcessingContext::SetBlockLength(int32_t length)
{
    mBlockLength = std::clamp(length, 0, mMaxBlockLength);
}

void ProcessingContext::SetMidiConnected(bool connected)
{
    for (int32_t field : mMidiFields)
        mRecord[static_cast<size_t>(field)] = connected ? static_cast<AAX_IMIDINode*>(&mMidi) : nullptr;
}

bool ProcessingContext::WritePort(int32_t field, const void* data, size_t size)
{
    auto found = mStorage.find(field);
    if (found == mStorage.end() || data == nullptr)
        return false;
    std::memcpy(found->second.words.data(), data, std::min(size, found->second.size));
    return true;
}

void ProcessingContext::DeliverPackets(const HostController& controller)
{
    for (int32_t field : mPortFields)
    {
        std::vector<uint8_t> payload;
        if (controller.LatestPacket(field, &payload))
            WritePort(field, payload.data(), payload.size());
    }
}

AAX_Result ProcessingContext::ResetPrivateData(AAX_IACFEffectParameters* dataModel)
{
    if (dataModel == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AAX_Result result = AAX_SUCCESS;
    for (int32_t field : mPrivateFields)
    {
        Storage& storage = mStorage[field];
        const AAX_Result fieldResult =
            dataModel->ResetFieldData(field, storage.words.data(), static_cast<uint32_t>(storage.size));
        if (fieldResult != AAX_SUCCESS)
            result = fieldResult;
    }
    return result;
}

void RunProcess(AAX_CProcessProc process, ProcessingContext* const* contexts, size_t count)
{
    if (process == nullptr)
        return;
    constexpr size_t kStackInstances = 64;
    std::array<void*, kStackInstances> onStack{};
    std::vector<void*> onHeap;
    void** records = onStack.data();
    if (count > kStackInstances)
    {
        onHeap.resize(count);
        records = onHeap.data();
    }
    for (size_t i = 0; i < count; ++i)
        records[i] = contexts[i]->Record();
    process(records, records + count);
}

void RunProcess(AAX_CProcessProc process, std::initializer_list<ProcessingContext*> contexts)
{
    RunProcess(process, contexts.begin(), contexts.size());
}

} // namespace testhost
