#include "tools/host/validate/ValidationInstance.h"

#include "host_kit/HostController.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace ombrelhost
{

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
      mContext(std::make_unique<testhost::ProcessingContext>(component, kMaximumBlock)), mLayout(layout),
      mSampleRate(sampleRate)
{
    mContext->SetSampleRate(static_cast<float>(sampleRate));
    mContext->SetBlockLength(kMaximumBlock);
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
    for (int32_t c = 0; c < mContext->InputCount(); ++c)
    {
        float* input = mContext->Input(c);
        for (int32_t i = 0; i < length; ++i)
            input[i] = source(c, position + i);
    }
    for (int32_t c = 0; c < mContext->OutputCount(); ++c)
        std::fill(mContext->Output(c), mContext->Output(c) + kMaximumBlock, 0.0f);
    const auto before = std::chrono::steady_clock::now();
    ProcessPrepared(length);
    figures.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
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
