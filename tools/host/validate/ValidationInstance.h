#pragma once
// One plug-in instance as the validator drives it: made from the module's description for a
// layout and rate, with its context record for the process procedure, and blocks of any length up
// to the largest run through it as a host runs them. The host's buffers have guards around them
// (samples before and after every channel, channels past the layout's), which the instance can
// watch: whatever the plug-in writes outside its block's outputs is found after the block.

#include "tools/host/session/ChannelLayout.h"
#include "tools/host/session/ModuleSession.h"
#include "host_kit/ProcessingContext.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ombrelhost
{

// Fills one input block: (channel, sample index from the start of the run) -> sample.
using SignalSource = std::function<float(int channel, int64_t sample)>;

struct BlockFigures
{
    int64_t nonFinite = 0; // output samples that were NaN or infinite
    double peak = 0.0;     // largest finite output magnitude
    double seconds = 0.0;  // wall-clock time in the process procedure
    // While the buffers are watched: samples written outside the block's outputs, and where the
    // first of them was ("output channel 1 past the block end, samples 256 to 259").
    int64_t bufferWrites = 0;
    std::string firstBufferWrite;
};

class ValidationInstance
{
public:
    static constexpr int32_t kMaximumBlock = 8192;
    // The guards around the host's buffers: samples before and after each channel, and channels
    // past the layout's in the channel arrays.
    static constexpr int32_t kGuardSamples = 64;
    static constexpr int32_t kGuardChannels = 2;

    // [host thread] Null with a reason when the module does not make a processable instance.
    static std::unique_ptr<ValidationInstance> Create(ModuleSession& session, ChannelLayout layout,
                                                      double sampleRate, std::string& error);

    testhost::DataModelInstance& DataModel() { return mDataModel; }
    testhost::ProcessingContext& Context() { return *mContext; }
    ChannelLayout Layout() const { return mLayout; }
    double SampleRate() const { return mSampleRate; }

    // [host thread, acting as the audio thread] the host's work before a block: the module's
    // requests accepted, packets generated and delivered.
    void PrepareBlock();
    // [audio thread] one block of the given length with the inputs as they are now.
    void ProcessPrepared(int32_t length);
    // Inputs from the source, one block, outputs measured into figures (accumulated).
    void RunBlock(int32_t length, const SignalSource& source, int64_t position, BlockFigures& figures);
    // [audio thread] The same without the host's work before the block, for a host that prepares
    // its blocks on another thread.
    void RunPrepared(int32_t length, const SignalSource& source, int64_t position, BlockFigures& figures);
    // Blocks of the given length until total samples have run.
    BlockFigures Run(int32_t blockLength, int64_t total, const SignalSource& source);

    // [host thread] From now on every RunBlock fills the guards and the samples past the block with
    // a pattern first and checks afterwards that the inputs, the guards and the samples past the
    // block are as they were.
    void WatchBuffers(bool watch) { mWatchBuffers = watch; }
    // [host thread] The host's rate changes for this live instance: its blocks run at the new rate
    // and the host answers it when asked.
    void ChangeSampleRate(double sampleRate);

private:
    ValidationInstance(ModuleSession& session, testhost::DataModelInstance& dataModel,
                       const testhost::ComponentDescription& component, ChannelLayout layout,
                       double sampleRate);

    ModuleSession& mSession;
    testhost::DataModelInstance& mDataModel;
    const testhost::ComponentDescription& mComponent;
    std::unique_ptr<testhost::ProcessingContext> mContext;
    // [host thread] Fills what the block does not use with the pattern; checks it after the block.
    void FillGuards();
    void CheckGuards(int32_t length, BlockFigures& figures);

    ChannelLayout mLayout;
    double mSampleRate;
    bool mWatchBuffers = false;
    // The block's inputs as the host wrote them, to find writes into them.
    std::vector<std::vector<float>> mInputCopy;
};

// The test signals.
SignalSource Silence();
SignalSource Impulse();
SignalSource Noise(uint32_t seed);
SignalSource FullScaleSine(double frequency, double sampleRate);

} // namespace ombrelhost
