#pragma once
// The plug-in's one audio processor. It has no signal processing of its own: it loads the VST 2
// effect library that ships beside the plug-in module, creates the effect, and forwards processing,
// parameters, programs and state between JUCE's processor interface and the effect.

#include "effect_bridge/EffectStateSerializer.h"
#include "effect_bridge/HostCallback.h"
#include "effect_bridge/HostValueRecord.h"
#include "effect_bridge/ParameterTextTable.h"
#include "effect_bridge/ProcessingExclusion.h"
#include "effect_bridge/RefreshTimer.h"
#include "vst2/Vst2Interface.h"
#include "platform/PlatformCalls.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

class QuennetAudioProcessor final : public juce::AudioProcessor, public juce::AudioProcessorListener
{
public:
    // Timer ticks between the display-update request that arms the countdown and the refresh.
    static constexpr int32_t kRefreshTicks = 3;
    static constexpr int32_t kRefreshIdle = -1;
    static constexpr int kTimerPeriodMs = 100;
    // Size of every text buffer handed to the effect.
    static constexpr size_t kEffectTextSize = 1024;
    // MIDI records handed to the effect per block, and pointer slots in the event block.
    static constexpr int32_t kMaxMidiEvents = 65536;
    static constexpr int32_t kMidiEventSlots = 65538;
    // The most channels an effect may declare and still be processed (real effects declare 64).
    static constexpr int32_t kMaxEffectChannels = 1024;
    // The most parameters and programs taken from an effect; a larger count is read as the limit.
    // Real effects stay far below; the limits keep publishing finite and the parameter-form state
    // below 17 MB.
    static constexpr int32_t kMaxEffectParameters = 4096;
    static constexpr int32_t kMaxEffectPrograms = 1024;

    // [host thread] Loads the effect beside the module and configures it. A failed load shows its
    // message and leaves a processor without an effect, which answers neutral values throughout.
    QuennetAudioProcessor();
    // [host thread] Waits for a refresh under way, then suspends and closes the effect and unloads
    // its library.
    ~QuennetAudioProcessor() override;

    //==============================================================================
    // juce::AudioProcessor, in the base's order; [host thread] where no other label says otherwise.
    const juce::String getName() const override;
    // [host thread] Suspends the effect, hands it the processor's rate and block size, resumes it.
    void prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    // [audio thread] One block through the effect, in place; allocates nothing for a block no longer
    // than the prepared block size. Asks the play head only when the effect asks for the transport
    // (audioMasterGetTime) during the block.
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;
    // [host thread] Appends the effect's whole state as one block (chunk or parameter form). Holds
    // the effect against the audio path throughout (see processingExclusion): blocks wait for the
    // chunk form's calls and pass through during the parameter form's program sweep.
    void getStateInformation(juce::MemoryBlock& destData) override;
    // [host thread] Restores the effect's state from one block; anything unreadable is ignored.
    // Held against the audio path like a save, so no block reaches a half-restored effect.
    void setStateInformation(const void* data, int sizeInBytes) override;
    // [host thread] Index-based parameter access; out of range every answer is neutral.
    // setParameter lets an exception the effect throws pass to its caller, before the value is
    // recorded as the host's.
    int getNumParameters() override;
    const juce::String getParameterName(int parameterIndex) override;
    using juce::AudioProcessor::getParameterName;
    float getParameter(int parameterIndex) override;
    const juce::String getParameterText(int parameterIndex) override;
    using juce::AudioProcessor::getParameterText;
    int getParameterNumSteps(int parameterIndex) override;
    void setParameter(int parameterIndex, float newValue) override;
    bool isParameterAutomatable(int parameterIndex) const override;
    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;
    bool silenceInProducesSilenceOut() const override;

    //==============================================================================
    // The processor's own operations. Effect-facing ones do nothing and answer 0, false or an empty
    // text without an effect or out of range; text destinations hold kEffectTextSize bytes. The
    // parameter ones are [host thread]; getEffectParameter is also [message thread] (the refresh)
    // and setParameterFromEffect [any thread].
    // Virtual and in this order though nothing overrides them: the virtual table ends in these 16.

    // [host thread] Probes the parameter's display text at 101 values into its row of parameterTexts
    // and answers how often the text changes along the sweep (a switch answers 2), which the row
    // keeps too. Holds the state lock, so no refresh reads the effect during the sweep. A value the
    // effect throws at keeps its "---" and counts no change; the parameter's value is put back.
    virtual int32_t buildParameterTextTable(int32_t index);
    // [any thread] The transport record handed to the effect; its address never changes. Asked
    // during one of this processor's blocks on the block's thread ([audio thread]), the first
    // request of the block updates it from the play head; asked elsewhere, it is what the last
    // update left. A block whose effect never asks costs no play-head query.
    virtual VstTimeInfo* getTimeInfo();
    virtual void getEffectParameterLabel(int32_t index, char* destination);
    // Only tests call it; kept as one of the sixteen slots.
    virtual bool getEffectParameterProperties(int32_t index, VstParameterProperties* destination);
    virtual void getEffectParameterName(int32_t index, char* destination);
    virtual void getEffectParameterDisplay(int32_t index, char* destination);
    virtual float getEffectParameter(int32_t index);
    // Reaches the effect even while host writes are held back.
    virtual void setEffectParameter(int32_t index, float value);
    // Only tests call it; kept as one of the sixteen slots.
    virtual bool canEffectParameterBeAutomated(int32_t index);
    // [host thread] These four: the construction, the preparation and the destruction. Rates below 15 kHz or
    // above 200 kHz (and NaN) reach the effect as 44100.
    virtual void setEffectSampleRate(float rate);
    virtual void setEffectBlockSize(int32_t size);
    // [message thread] Reads every parameter from the effect under the state lock, then, with the
    // lock released, reports to the listeners each value that differs from what the host last saw
    // (for a switch or a choice: shows another text) and that no host write has overtaken meanwhile. While a
    // save or restore is under way it reads nothing and runs again later.
    virtual void refreshParametersFromEffect();
    virtual void resumeEffect();
    virtual void suspendEffect();
    // Two stereo arrangements each way. Only tests call it; kept as one of the sixteen slots.
    virtual intptr_t setEffectSpeakerArrangement();
    // [any thread] A value the effect reports (audioMasterAutomate): to the listeners only; the
    // effect already holds it. It counts as seen by the host.
    virtual void setParameterFromEffect(int32_t index, float value);

    // [host thread] The adapter is about to publish every parameter with the value it reads from
    // the effect now: a refresh the effect asked for before this point has nothing new to report,
    // and is dropped. A request made from here on starts the countdown as usual.
    void discardPendingRefresh();
    // [host thread] The parameters are published with the effect's values, which the host has
    // therefore seen: host writes reach the effect from now on, instead of waiting for the end of
    // the first refresh (which needs a display-update request that some effects only make while
    // processing, and some never make).
    void acceptHostWrites();
    // [any thread] The effect asked for a display update: starts the refresh countdown unless a
    // refresh is already pending, so that an effect asking more often than the countdown lasts is
    // still refreshed.
    void requestRefresh();
    // [any thread] The host has been shown the effect's value for a parameter by other means than
    // the refresh (the adapter after a restore): a refresh reports it only once it changes again.
    void noteValueShownToHost(int32_t index, float value);

    // [any thread] The effect announced new inputs, outputs or latency (audioMasterIOChanged): its
    // latency is read again on the next timer tick.
    void announceEffectInputOutputChange() { inputOutputChangeAnnounced = true; }
    // [message thread] When the effect announced a change since the last tick, takes its current
    // delay as the processor's latency, which tells the listeners (the adapter tells the host).
    // Never on the audio thread: the host hears of it at most once per tick.
    void applyAnnouncedLatency();
    // [host thread] or [message thread] Takes the effect's current delay as the processor's latency,
    // announced or not: after the effect was prepared (for a new rate, which often moves its delay).
    void refreshLatency();

    //==============================================================================
    // [message thread] Counts a pending refresh down and runs it on the third tick.
    void timerCallback();
    // The listener base is never registered, so neither is called; it stays a declared base (the
    // layout follows the bases). The first does nothing, the second would start a refresh.
    void audioProcessorParameterChanged(juce::AudioProcessor* processor, int parameterIndex,
                                        float newValue) override;
    void audioProcessorChanged(juce::AudioProcessor* processor,
                               const juce::AudioProcessorListener::ChangeDetails& details) override;

    //==============================================================================
    // [any thread] The probed display texts; a parameter's row is complete once
    // getParameterNumSteps has run for it, and lives as long as the processor.
    const ParameterTextTable& getParameterTexts() const { return parameterTexts; }
    // [any thread]
    int32_t getRefreshCountdown() const { return refreshCountdown.load(); }
    bool isEffectReady() const { return effectReady.load(); }
    bool isParameterForwardingSuppressed() const { return suppressParameterForwarding.load(); }

    //==============================================================================
    // What the AAX adapter reads.
    // [any thread] The effect instance; null when loading failed. Borrowed from the effect library:
    // closed, never freed, by this processor.
    AEffect* getEffect() const { return effect; }
    // [any thread] Whether the effect asked for a new editor size since the last call; clears the
    // request.
    bool takeEditorResizePending() { return editorResizePending.exchange(false); }
    // [any thread] What keeps the state operations and the audio path's blocks apart; the audio path
    // enters it around every block instead of the callback lock.
    ProcessingExclusion& getProcessingExclusion() { return processingExclusion; }

private:
    friend intptr_t hostCallback(AEffect*, int32_t, int32_t, intptr_t, void*, float);

    AEffect* effect = nullptr;
    std::atomic<int32_t> refreshCountdown{kRefreshIdle};
    // Set when the effect asks for a new editor size; the GUI takes it.
    std::atomic<bool> editorResizePending{false};
    std::atomic<int32_t> currentProgram{0};
    std::atomic<bool> refreshingParameters{false};
    std::atomic<bool> suppressParameterForwarding{true};
    std::atomic<bool> effectReady{false};
    // Set by the host callback when the effect announces an input/output change; taken by the timer.
    std::atomic<bool> inputOutputChangeAnnounced{false};
    // Set when destruction begins: a refresh under way stops reading the effect.
    std::atomic<bool> closing{false};
    // Held by a save or restore [host thread] and tried by the refresh [message thread], which
    // reads nothing while the effect is switched through its programs or restored. Nobody calls the
    // host while holding it.
    std::mutex stateOperationLock;
    ProcessingExclusion processingExclusion;
    std::unique_ptr<RefreshTimer> refreshTimer;
    // Per effect parameter, the display text at each hundredth of the value range ("---" until
    // probed); empty when no effect is loaded.
    ParameterTextTable parameterTexts;
    // Per effect parameter, what the host last saw and how often it wrote.
    HostValueRecord hostValues;

    struct FreeDeleter
    {
        void operator()(void* block) const { std::free(block); }
    };

    platform::ModuleHandle library = nullptr;
    // Only loading uses it; kept as the record of the entry the effect was created through.
    VstPluginEntry entryFunction = nullptr;
    VstTimeInfo timeInfo{};
    // [audio thread] Set when a block starts, cleared by the block's first transport request.
    bool timeInfoDue = false;
    std::unique_ptr<VstEvents, FreeDeleter> midiEvents;
    std::unique_ptr<VstMidiEvent[]> midiEventRecords;
    // Channel pointer arrays and buffers for an effect that declares more than two inputs or outputs:
    // the extra inputs read silence, the extra outputs write into scratch.
    std::vector<float*> wideInputs;
    std::vector<float*> wideOutputs;
    std::vector<float> silentChannel;
    std::vector<float> scratchChannel;

    bool loadEffect();
    // The effect's delay as a latency: its initialDelay, negative values read as 0.
    int effectLatency() const;
    void showLoaderMessage(const char* text);
    void allocateMidiEvents();
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) const;
    int32_t effectParameterCount() const;
    int32_t effectProgramCount() const;
    bool isParameterInRange(int32_t index) const;
    bool isProgramInRange(int32_t index) const;
    void effectText(int32_t opcode, int32_t index, char* destination) const;
    // The effect's text for a parameter in range, or "" (a null destination gets nothing).
    void parameterText(int32_t opcode, int32_t index, char* destination) const;
    // [message thread] Under the state lock: whether the host, told value for the parameter, would
    // see a change from what it last saw. A stepped parameter (see ParameterTextTable) changes when
    // its text does, any other when its value does.
    bool hostWouldSeeChange(int32_t index, float value) const;
    int32_t convertMidi(const juce::MidiBuffer& midiMessages);
    void updateTimeInfo();
    bool prepareWideChannels(int numSamples);
    void saveChunkForm(juce::MemoryBlock& destData);
    void saveParameterForm(juce::MemoryBlock& destData);
    void restoreParameterForm(const EffectStateSerializer::Reader& block);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuennetAudioProcessor)
};
