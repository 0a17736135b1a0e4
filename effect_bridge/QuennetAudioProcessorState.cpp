// The processor's saved state: the effect's whole state as one block, saved and restored while the
// effect is held against the audio path. The block's bytes are the serializer's business.

#include "effect_bridge/EffectStateSerializer.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cmath>

void QuennetAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    if (effect == nullptr)
    {
        EffectStateSerializer::appendEmptyState(destData);
        return;
    }
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    // A chunk is one short effect call, which blocks may wait for; the parameter form's sweep
    // through every program may take long, and blocks pass through meanwhile.
    if ((effect->flags & effFlagsProgramChunks) != 0)
    {
        const ProcessingExclusion::Holder held(processingExclusion, ProcessingExclusion::Hold::singleCall);
        saveChunkForm(destData);
    }
    else
    {
        const ProcessingExclusion::Holder held(processingExclusion, ProcessingExclusion::Hold::sweep);
        saveParameterForm(destData);
    }
}

void QuennetAudioProcessor::saveChunkForm(juce::MemoryBlock& destData)
{
    void* chunk = nullptr;
    dispatch(effGetChunk, 0, 0, &chunk);
    dispatch(effGetProgram);
    // Only the second answer is copied, and only as far as it really offers data: an effect may
    // answer a null pointer, a negative length, or another length than the first time.
    chunk = nullptr;
    const intptr_t length = dispatch(effGetChunk, 0, 0, &chunk);
    EffectStateSerializer::appendChunkForm(destData, chunk, length);
}

void QuennetAudioProcessor::saveParameterForm(juce::MemoryBlock& destData)
{
    const int32_t numParameters = effectParameterCount();
    const int32_t numPrograms = effectProgramCount();
    EffectStateSerializer::ParameterFormWriter writer(destData, numParameters, numPrograms);
    const auto current = static_cast<int32_t>(dispatch(effGetProgram));
    char name[kEffectTextSize];
    for (int32_t program = 0; program < numPrograms; ++program)
    {
        dispatch(effSetProgram, 0, program);
        // The effect writes into a full-size buffer; the record keeps the first 64 bytes.
        effectText(effGetProgramName, 0, name);
        writer.writeProgramName(program, name);
        for (int32_t parameter = 0; parameter < numParameters; ++parameter)
            writer.writeValue(program, parameter, getEffectParameter(parameter));
    }
    dispatch(effSetProgram, 0, current);
    writer.finish(current);
}

void QuennetAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    using Reader = EffectStateSerializer::Reader;
    const Reader block(data, sizeInBytes);
    if (effect == nullptr || block.form() == Reader::Form::unreadable)
        return;
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    const bool chunkForm =
        block.form() == Reader::Form::chunk && (effect->flags & effFlagsProgramChunks) != 0;
    const ProcessingExclusion::Holder held(processingExclusion, chunkForm
                                                                    ? ProcessingExclusion::Hold::singleCall
                                                                    : ProcessingExclusion::Hold::sweep);
    if (chunkForm)
    {
        dispatch(effSetChunk, 0, static_cast<intptr_t>(block.chunkSize()),
                 const_cast<uint8_t*>(block.chunkData()));
        // The chunk carries the effect's own current program; selecting a program remembered from
        // before the restore would switch the effect away from it.
        const auto restoredProgram = static_cast<int32_t>(dispatch(effGetProgram));
        if (isProgramInRange(restoredProgram))
            currentProgram = restoredProgram;
    }
    else
    {
        restoreParameterForm(block);
    }
    setCurrentProgram(currentProgram);
}

void QuennetAudioProcessor::restoreParameterForm(const EffectStateSerializer::Reader& block)
{
    const int32_t storedProgram = block.storedCurrentProgram();
    if (isProgramInRange(storedProgram))
        currentProgram = storedProgram;

    const int32_t parameters = std::min(block.storedParameterCount(), effectParameterCount());
    const int32_t programs = std::min(block.readableProgramCount(), effectProgramCount());
    for (int32_t program = 0; program < programs; ++program)
    {
        dispatch(effSetProgram, 0, program);
        char name[EffectStateBlock::kProgramNameSize + 1];
        block.programName(program, name);
        dispatch(effSetProgramName, 0, 0, name);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
        {
            const float value = block.value(program, parameter);
            // A damaged value (NaN, infinity) leaves the parameter as it was. Any other is brought
            // into 0..1, the only values an effect's parameter takes: a damaged block's stray value
            // (1e30, say) would otherwise reach an effect that trusts its range (and some turn
            // it into NaN output), while a value its own rounding put a hair outside comes back.
            if (std::isfinite(value))
                setEffectParameter(parameter, std::clamp(value, 0.0f, 1.0f));
        }
    }
}
