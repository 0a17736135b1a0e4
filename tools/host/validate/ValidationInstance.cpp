#include "tools/host/validate/ValidationInstance.h"

#include "host_kit/HostController.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>

namespace ombrelhost
{

namespace
{

// What the guards hold: a value no effect computes by chance, and not zero, which a plug-in that
// clears too much would write.
constexpr float kGuardPattern = -1.2345678e-3f;

// One run of written samples inside a stretch of storage, in the stretch's own sample numbers:
// counts them and describes the first run found, if none was described before.
void FindWrites(const float* storage, int32_t from, int32_t to, const float* expected, int32_t expectedFrom,
                const std::string& where, BlockFigures& figures)
{
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t i = from; i < to; ++i)
    {
        const float wanted = expected != nullptr ? expected[i - expectedFrom] : kGuardPattern;
        // Compared bit for bit: a NaN written there counts, a NaN the host wrote there does not.
        if (std::memcmp(&storage[i], &wanted, sizeof(float)) == 0)
            continue;
        ++figures.bufferWrites;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first < 0 || !figures.firstBufferWrite.empty())
        return;
    figures.firstBufferWrite = where + (first == last ? ", sample " + std::to_string(first)
                                                      : ", samples " + std::to_string(first) + " to " +
                                                            std::to_string(last));
}

} // namespace

std::unique_ptr<ValidationInstance> ValidationInstance::Create(ModuleSession& session, ChannelLayout layout,
                                                               double sampleRate, std::string& error)
{
    const testhost::ComponentDescription* component = session.Component(layout);
    if (component == nullptr || component->process == nullptr)
    {
        error = std::string("the module gives no process procedure for the ") + ChannelLayoutName(layout) +
                " layout";
        return nullptr;
    }
    testhost::DataModelInstance* dataModel = session.NewDataModel(layout, sampleRate, error, false);
    if (dataModel == nullptr)
        return nullptr;
    std::unique_ptr<ValidationInstance> instance(
        new ValidationInstance(session, *dataModel, *component, layout, sampleRate));
    if (const AAX_Result reset = instance->mContext->ResetPrivateData(dataModel->Get()); reset != AAX_SUCCESS)
    {
        error = "the data-model object refused to fill its private data (" + std::to_string(reset) + ")";
        return nullptr;
    }
    return instance;
}

ValidationInstance::ValidationInstance(ModuleSession& session, testhost::DataModelInstance& dataModel,
                                       const testhost::ComponentDescription& component, ChannelLayout layout,
                                       double sampleRate)
    : mSession(session), mDataModel(dataModel), mComponent(component),
      mContext(std::make_unique<testhost::ProcessingContext>(component, kMaximumBlock, kGuardSamples,
                                                             kGuardChannels)),
      mLayout(layout), mSampleRate(sampleRate)
{
    mContext->SetSampleRate(static_cast<float>(sampleRate));
    mContext->SetBlockLength(kMaximumBlock);
    mInputCopy.assign(static_cast<size_t>(mContext->InputCount()),
                      std::vector<float>(static_cast<size_t>(kMaximumBlock), 0.0f));
}

void ValidationInstance::ChangeSampleRate(double sampleRate)
{
    mSampleRate = sampleRate;
    mSession.Host().config.sampleRate = static_cast<float>(sampleRate);
    mContext->SetSampleRate(static_cast<float>(sampleRate));
}

void ValidationInstance::FillGuards()
{
    const int32_t inputs = mContext->InputCount();
    const int32_t outputs = mContext->OutputCount();
    const int32_t stored = kMaximumBlock + 2 * kGuardSamples;
    for (int32_t c = 0; c < inputs + kGuardChannels; ++c)
        std::fill(mContext->Input(c) - kGuardSamples, mContext->Input(c) - kGuardSamples + stored, kGuardPattern);
    for (int32_t c = 0; c < outputs + kGuardChannels; ++c)
        std::fill(mContext->Output(c) - kGuardSamples, mContext->Output(c) - kGuardSamples + stored,
                  kGuardPattern);
}

void ValidationInstance::CheckGuards(int32_t length, BlockFigures& figures)
{
    const int32_t inputs = mContext->InputCount();
    const int32_t outputs = mContext->OutputCount();
    const int32_t end = kMaximumBlock + kGuardSamples;
    for (int32_t c = 0; c < outputs; ++c)
    {
        const float* channel = mContext->Output(c);
        const std::string name = "output channel " + std::to_string(c);
        FindWrites(channel, -kGuardSamples, 0, nullptr, 0, name + " before its first sample", figures);
        FindWrites(channel, length, end, nullptr, 0, name + " past the block end", figures);
    }
    for (int32_t c = 0; c < inputs; ++c)
    {
        const float* channel = mContext->Input(c);
        const std::string name = "input channel " + std::to_string(c);
        FindWrites(channel, -kGuardSamples, 0, nullptr, 0, name + " before its first sample", figures);
        FindWrites(channel, 0, length, mInputCopy[static_cast<size_t>(c)].data(), 0, name + " inside the block",
                   figures);
        FindWrites(channel, length, end, nullptr, 0, name + " past the block end", figures);
    }
    const std::string layout = std::string(", which the ") + ChannelLayoutName(mLayout) + " layout does not have";
    for (int32_t c = outputs; c < outputs + kGuardChannels; ++c)
        FindWrites(mContext->Output(c), -kGuardSamples, end, nullptr, 0, "output channel " + std::to_string(c) + layout,
                   figures);
    for (int32_t c = inputs; c < inputs + kGuardChannels; ++c)
        FindWrites(mContext->Input(c), -kGuardSamples, end, nullptr, 0, "input channel " + std::to_string(c) + layout,
                   figures);
}

void ValidationInstance::PrepareBlock()
{
    mDataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
    mDataModel->GenerateCoefficients();
    mContext->DeliverPackets(*mDataModel.Controller());
}

void ValidationInstance::ProcessPrepared(int32_t length)
{
    mContext->SetBlockLength(length);
    testhost::RunProcess(mComponent.process, {mContext.get()});
}

void ValidationInstance::RunBlock(int32_t length, const SignalSource& source, int64_t position,
                                  BlockFigures& figures)
{
    PrepareBlock();
    RunPrepared(length, source, position, figures);
}

void ValidationInstance::RunPrepared(int32_t length, const SignalSource& source, int64_t position,
                                     BlockFigures& figures)
{
    length = std::clamp(length, 0, kMaximumBlock);
    if (mWatchBuffers)
        FillGuards();
    for (int32_t c = 0; c < mContext->InputCount(); ++c)
    {
        float* input = mContext->Input(c);
        for (int32_t i = 0; i < length; ++i)
            input[i] = source(c, position + i);
        if (mWatchBuffers)
            std::copy(input, input + length, mInputCopy[static_cast<size_t>(c)].begin());
    }
    for (int32_t c = 0; c < mContext->OutputCount(); ++c)
        std::fill(mContext->Output(c), mContext->Output(c) + length, 0.0f);
    const auto before = std::chrono::steady_clock::now();
    ProcessPrepared(length);
    figures.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    if (mWatchBuffers)
        CheckGuards(length, figures);
    for (int32_t c = 0; c < mContext->OutputCount(); ++c)
    {
        const float* output = mContext->Output(c);
        for (int32_t i = 0; i < length; ++i)
        {
            if (!std::isfinite(output[i]))
                ++figures.nonFinite;
            else
                figures.peak = std::max(figures.peak, static_cast<double>(std::fabs(output[i])));
        }
    }
}

BlockFigures ValidationInstance::Run(int32_t blockLength, int64_t total, const SignalSource& source)
{
    BlockFigures figures;
    for (int64_t position = 0; position < total; position += blockLength)
        RunBlock(blockLength, source, position, figures);
    return figures;
}

SignalSource Silence()
{
    return [](int, int64_t) { return 0.0f; };
}

SignalSource Impulse()
{
    return [](int, int64_t sample) { return sample == 0 ? 1.0f : 0.0f; };
}

SignalSource Noise(uint32_t seed)
{
    auto generator = std::make_shared<std::minstd_rand>(seed);
    return [generator](int, int64_t)
    {
        std::uniform_real_distribution<float> distribution(-0.5f, 0.5f);
        return distribution(*generator);
    };
}

SignalSource FullScaleSine(double frequency, double sampleRate)
{
    return [frequency, sampleRate](int, int64_t sample)
    {
        return static_cast<float>(std::sin(2.0 * juce::MathConstants<double>::pi * frequency *
                                           static_cast<double>(sample) / sampleRate));
    };
}

} // namespace ombrelhost
