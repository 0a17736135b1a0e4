#pragma once
// The data-model object of one plug-in instance. It owns the QuennetAudioProcessor that holds the
// hosted effect, publishes the effect's parameters (and a master bypass) as AAX parameters and
// keeps both sides in step, prepares the processor for its audio path (AudioPath), saves and
// restores the effect's state as the 'All ' chunk, and answers the processor's play-head queries
// from the host's transport.

#include "aax_adapter/AudioPath.h"
#include "aax_adapter/AutomationDelivery.h"
#include "aax_adapter/GuiLibraryUsers.h"
#include "aax_library/AAX_CEffectParameters.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "effect_bridge/RefreshTimer.h"
#include "effect_bridge/UseGate.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace AAXClasses
{

// The processor's state chunk, beside the library's 'elck' chunk of control values.
constexpr AAX_CTypeID kProcessorStateChunkID = AAX_FourCC('A', 'l', 'l', ' ');

class JuceAAX_Processor : public AAX_CEffectParameters,
                          public juce::AudioPlayHead,
                          public juce::AudioProcessorListener
{
public:
    // [host thread] Takes a use of the GUI library and creates the processor, which loads the effect.
    JuceAAX_Processor();
    // [host thread] Deletes the processor (unloading the effect), then gives the use back.
    ~JuceAAX_Processor() override;

    // [host thread] The data-model factory the description registers: a new object's primary
    // interface, or null when it cannot be made.
    static void* Create();

    // [any thread] The processor (borrowed); the GUI object reaches the effect through it. Set in the
    // constructor and kept until the destructor.
    QuennetAudioProcessor* getProcessor() const { return processor.get(); }
    // [audio thread] The instance's audio path; made in the constructor and kept until the destructor.
    AudioPath& getAudioPath() const { return *audioPath; }

    //==============================================================================
    // AAX_CEffectParameters, in slot order. [host thread]
    // Notifications from the processor and the audio thread's transport queries reach the host's
    // objects only from the end of a successful Initialize until Uninitialize begins.
    AAX_Result Initialize(IACFUnknown* controller) override;
    // Waits for running notifications and transport queries before the base deletes what they use.
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(uint32_t type, const void* data, uint32_t size) override;
    AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) override;
    AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) override;
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) override;
    AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) override;
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override;
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override;
    AAX_Result ResetFieldData(int32_t field, void* data, uint32_t size) override;
    AAX_Result GetNumberOfChunks(int32_t* count) override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) override;
    AAX_Result GetChunkSize(AAX_CTypeID id, uint32_t* size) override;
    AAX_Result GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) override;
    AAX_Result SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;
    // [any thread] Block kAudioPathCountsBlock holds the audio path's counts (AudioPathCounts.h);
    // every other block is empty, as the base answers.
    AAX_Result GetCustomData(uint32_t block, uint32_t size, void* data, uint32_t* written) override;

    //==============================================================================
    // juce::AudioPlayHead. [audio thread] Inside a block only (the processor asks once in a block
    // whose effect asks for the transport); answered from the host's transport; never fails.
    juce::Optional<juce::AudioPlayHead::PositionInfo> getPosition() const override;

    //==============================================================================
    // juce::AudioProcessorListener, on the thread the processor reports from.
    // [any thread] [message thread] from the refresh; [audio thread] for automation the effect
    // reports while it processes, which waits in the automation delivery's queue for the message thread to
    // hand it to the host; [host thread] for automation the effect reports from its editor, which the host
    // idles; any thread of the effect's own for what it reports from there.
    void audioProcessorParameterChanged(juce::AudioProcessor* source, int parameterIndex,
                                        float newValue) override;
    // [message thread] The processor announces a new latency from its timer, after the effect
    // reported a change (its first latency is set while it loads, before this listener is
    // registered); the host hears it through SetSignalLatency.
    void audioProcessorChanged(juce::AudioProcessor* source, const ChangeDetails& details) override;
    // [host thread] or [message thread], where an editor gesture would be announced. The processor
    // announces none (the effect's gestures arrive with its automation); kept because a listener of
    // the processor's changes answers gestures too.
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor* source, int parameterIndex) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor* source, int parameterIndex) override;

protected:
    // [host thread] Called by Initialize once the host's wrappers exist: reads the host's sample
    // rate, prepares the processor for the host's stem formats and publishes the master bypass and
    // every effect parameter.
    AAX_Result EffectInit() override;

private:
    // [host thread] Prepares the processor at the rate for the host's stem formats.
    void prepareProcessor(float rate);
    // [message thread] When the host's blocks run at a rate the effect is not prepared for, prepares
    // it again for theirs (blocks pass their input through meanwhile) and tells the host the latency
    // the effect has at that rate. Never on the audio thread: effects allocate and reset there.
    void followHostRate();
    void publishBypassParameter();
    void publishProcessorParameters();

    // [host thread] The processor parameter an identifier names: its index when it names one that
    // was published, else -1. The master bypass is not a processor parameter.
    int32_t publishedIndexOf(AAX_CParamID id) const;
    // [host thread] A host value for the effect's parameter `index`: see writeToEffect's comment.
    void writeToEffect(int32_t index, double value);
    // [host thread] Restores the controls chunk: see its comment.
    AAX_Result restoreControls(const AAX_SPlugInChunk* chunk);
    // [host thread] Every published processor parameter takes the effect's value, as the host's
    // answer to a request would set it, without a request: a restore writes no automation.
    void showEffectValues();
    // [host thread] Answers what read gives for the index of a published processor parameter; an
    // identifier that names none, or a null value, is answered as an error with value untouched.
    template <typename Read>
    AAX_Result answerPublishedValue(AAX_CParamID id, double* value, Read&& read) const;
    // On the listener callbacks' threads: runs notify, a call to the host's objects, only while they
    // may be reached (see Initialize), and lets nothing it throws out to the processor.
    template <typename Notify> void notifyHost(Notify&& notify);

    // [host thread] Disconnects the automation delivery (without waiting for a report under way),
    // closes the notification gate and the transport and waits for every use of these two under way
    // to end.
    void closeHostSide();

    // Declared first so that it is given back last, after the processor is gone.
    GuiLibraryUse guiLibraryUse;
    // Declared before the processor so that they outlive it: whatever the processor still reports
    // while it goes finds them closed. notificationGate guards the host's wrappers against the
    // processor's latency announcements; the effect's automation goes through automation, which
    // teardown disconnects without waiting.
    // transportOpen guards the host's transport wrapper against the audio thread's play head, which
    // reads it only inside a block admitted by the processor's exclusion: closing it and then holding
    // the exclusion once waits for every block that may still see it open.
    UseGate notificationGate;
    std::atomic<bool> transportOpen{false};
    // The way of the effect's automation to the host, shared with the timer that delivers what the
    // audio thread queues from the message thread.
    std::shared_ptr<AutomationDelivery> automation;
    std::unique_ptr<QuennetAudioProcessor> processor;
    // Declared after the processor it borrows, so that it goes first.
    std::unique_ptr<AudioPath> audioPath;
    std::unique_ptr<RefreshTimer> automationTimer;
    // [message thread] Follows a new rate of the host's blocks (followHostRate).
    std::unique_ptr<RefreshTimer> rateTimer;
    int32_t stateChunkIndex = 1;
    // Keeps the host thread's preparation at initialisation and the message thread's preparation
    // for a new rate one at a time.
    std::mutex preparationLock;
    // The block size the processor is prepared for, at initialisation only.
    int32_t currentBlockSize = 1024;
    // The processor's state between a size query of the 'All ' chunk and its read.
    juce::MemoryBlock pendingState;
    // [host thread] Set once the host has restored an 'All ' chunk into this instance.
    bool stateChunkRestored = false;
    int32_t publishedProcessorParameters = 0;
    // [host thread] Each published parameter's default as a normalized value: the effect's own
    // value when it was published. Filled once while publishing; the audio path never reads it.
    std::vector<float> parameterDefaults;
    // [host thread] Per published parameter, whether it is published as a switch (filled with
    // parameterDefaults).
    std::vector<bool> publishedAsSwitch;
};

} // namespace AAXClasses
