#include "bench/DirectBaseline.h"

#include "bench/BenchmarkSuite.h"
#include "bench/DirectEffect.h"
#include "bench/TestSignal.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kChannels = 2;

// One instance's buffers: the source it is given and the channels it processes in place.
struct InstanceBuffers
{
    std::vector<float> source[kChannels];
    std::vector<float> channels[kChannels];
    float* pointers[kChannels] = {};

    explicit InstanceBuffers(int32_t blockLength)
    {
        for (int32_t c = 0; c < kChannels; ++c)
        {
            source[c].resize(static_cast<size_t>(blockLength));
            testsignal::fill(source[c].data(), blockLength, c);
            channels[c].resize(static_cast<size_t>(blockLength));
            pointers[c] = channels[c].data();
        }
    }

    void refill()
    {
        for (int32_t c = 0; c < kChannels; ++c)
            std::memcpy(channels[c].data(), source[c].data(), source[c].size() * sizeof(float));
    }
};

} // namespace

std::string directBaselineName(int instances, int32_t blockLength, const std::string& effectLabel)
{
    const std::string effect = effectLabel.empty() ? std::string() : effectLabel + "/";
    return "Direct/" + effect + "instances:" + std::to_string(instances) +
           "/block:" + std::to_string(blockLength);
}

void processEffectsDirectly(benchmark::State& state, const std::string& effectLibrary, int instances,
                            int32_t blockLength)
{
    std::vector<std::unique_ptr<DirectEffect>> effects;
    std::vector<std::unique_ptr<InstanceBuffers>> buffers;
    for (int i = 0; i < instances; ++i)
    {
        effects.push_back(std::make_unique<DirectEffect>(
            effectLibrary, static_cast<float>(testsignal::kSampleRate), blockLength));
        if (!effects.back()->isValid())
        {
            state.SkipWithError(effects.back()->error().c_str());
            return;
        }
        buffers.push_back(std::make_unique<InstanceBuffers>(blockLength));
    }

    // One untimed block each, so that the loop measures the steady state.
    for (int i = 0; i < instances; ++i)
    {
        buffers[i]->refill();
        effects[i]->processReplacing(buffers[i]->pointers, buffers[i]->pointers, blockLength);
    }
    if (std::equal(buffers[0]->channels[0].begin(), buffers[0]->channels[0].end(),
                   buffers[0]->source[0].begin()))
    {
        state.SkipWithError("the effect left its input unchanged");
        return;
    }

    for (auto _ : state)
    {
        for (int i = 0; i < instances; ++i)
        {
            InstanceBuffers& instance = *buffers[static_cast<size_t>(i)];
            instance.refill();
            effects[static_cast<size_t>(i)]->processReplacing(instance.pointers, instance.pointers,
                                                              blockLength);
        }
        benchmark::ClobberMemory();
    }
    BenchmarkSuite::countSamples(state, static_cast<int64_t>(instances) * blockLength);
}
