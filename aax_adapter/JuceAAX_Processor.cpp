#include "aax_adapter/JuceAAX_Processor.h"

#include "aax_adapter/AudioPathCounts.h"
#include "aax_adapter/HostFactory.h"
#include "aax_adapter/HostTransportPosition.h"
#include "aax_adapter/ParameterIdentifiers.h"
#include "aax_adapter/ProcessorStateChunk.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_GuardHostCall.h"
#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace AAXClasses
{

namespace
{

// The block size the processor is prepared for, once: a VST 2 block size is a maximum, and the audio
// path hands the effect longer host blocks in pieces of this length.
constexpr int32_t kInitialBlockSize = 1024;
// Automation the effect reports while processing reaches the host within this time.
constexpr int kAutomationDeliveryPeriodMs = 5;
// Reports the ring holds between two deliveries before each parameter keeps only its latest value:
// an effect reporting every parameter in every block of 32 samples at 192 kHz still fits.
constexpr uint32_t kAutomationRingCapacity = 4096;
// Each private-data slot of field 5 holds one instance pointer.
constexpr uint32_t kPrivateDataSlotSize = sizeof(JuceAAX_Processor*);
static_assert(kPrivateDataSlotSize == 8, "the description declares 8-byte private data");

} // namespace

//==============================================================================
JuceAAX_Processor::JuceAAX_Processor()
{
    // The JUCE processor reads the wrapper type from this thread-local marker in its constructor.
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_AAX);
    try
    {
        processor = std::make_unique<QuennetAudioProcessor>();
    }
    catch (...)
    {
        juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
        throw;
    }
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);

    processor->setPlayHead(this);
    processor->addListener(this);
    audioPath = std::make_unique<AudioPath>(*processor);
    automation = std::make_shared<AutomationDelivery>(processor->getNumParameters(), kAutomationRingCapacity);
    // The tick shares the delivery rather than borrow this object: teardown never waits for a tick
    // whose host call waits for the host's main thread.
    automationTimer = std::make_unique<RefreshTimer>([delivery = automation] { delivery->deliverQueued(); });
    // Following a new rate borrows this object and calls no automation delegate, so teardown stops
    // it and waits for a tick under way.
    rateTimer = std::make_unique<RefreshTimer>([this] { followHostRate(); });
    rateTimer->startTimer(kAutomationDeliveryPeriodMs);
    automationTimer->startTimer(kAutomationDeliveryPeriodMs);
    stateChunkIndex = 1;
    currentBlockSize = kInitialBlockSize;
}

JuceAAX_Processor::~JuceAAX_Processor()
{
    // The processor may still report from its timer while it goes; nothing may reach this object
    // once its own members are being destroyed.
    RefreshTimer::retireWithoutWaiting(std::move(automationTimer));
    RefreshTimer::retire(std::move(rateTimer));
    closeHostSide();
    // The continuous parameters' display delegates read the processor's text rows, so the
    // parameters go before the processor does.
    mParameterManager.RemoveAllParameters();
    // The processor goes here, while this object is whole: its destruction first waits for a
    // refresh that may still be notifying, which then finds the gates closed. Removing this
    // listener instead would race with that refresh walking the processor's listener list.
    processor->setPlayHead(nullptr);
    audioPath.reset();
    processor.reset();
}

void JuceAAX_Processor::closeHostSide()
{
    // Automation stops reaching the host without waiting for a report under way: the host may
    // hold it until the thread calling here answers it.
    automation->disconnect();
    notificationGate.closeAndWait();
    transportOpen.store(false);
    // Blocks admitted from here on see the transport closed; holding the exclusion waits for the
    // one that may be under way.
    const ProcessingExclusion::Holder settled(processor->getProcessingExclusion(),
                                              ProcessingExclusion::Hold::sweep);
}

AAX_Result JuceAAX_Processor::Initialize(IACFUnknown* controller)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    // A second initialisation replaces the wrappers: nothing may be using the old ones.
    closeHostSide();
    const AAX_Result result = AAX_CEffectParameters::Initialize(controller);
    if (result == AAX_SUCCESS)
    {
        transportOpen.store(true);
        automation->connect(controller, publishedAsSwitch);
        notificationGate.open();
    }
    return result;
}

AAX_Result JuceAAX_Processor::Uninitialize()
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    closeHostSide();
    return AAX_CEffectParameters::Uninitialize();
}

void* JuceAAX_Processor::Create()
{
    return newForHost<AAX_IACFEffectParameters_V2, JuceAAX_Processor>();
}

//==============================================================================
AAX_Result JuceAAX_Processor::EffectInit()
{
    {
        const std::lock_guard<std::mutex> preparing(preparationLock);
        float rate = 0.0f;
        if (AAX_IController* controller = Controller())
            controller->GetSampleRate(&rate);
        prepareProcessor(rate);
    }
    processor->discardPendingRefresh();
    publishBypassParameter();
    publishProcessorParameters();
    processor->acceptHostWrites();
    return AAX_SUCCESS;
}

void JuceAAX_Processor::prepareProcessor(float rate)
{
    AAX_IController* controller = Controller();
    AAX_EStemFormat inputFormat = AAX_eStemFormat_None;
    AAX_EStemFormat outputFormat = AAX_eStemFormat_None;
    if (controller != nullptr)
    {
        controller->GetInputStemFormat(&inputFormat);
        controller->GetOutputStemFormat(&outputFormat);
    }
    const int32_t inputs = channelCountForStemFormat(inputFormat);
    const int32_t outputs = channelCountForStemFormat(outputFormat);

    // JUCE 7 derives the processor's speaker arrangements from its bus layouts, which the play
    // configuration below sets to the canonical layout of each channel count.
    processor->setPlayConfigDetails(inputs, outputs, static_cast<double>(rate), currentBlockSize);
    processor->prepareToPlay(static_cast<double>(rate), currentBlockSize);

    audioPath->prepare(inputs, outputs, currentBlockSize);
    audioPath->setPreparedSampleRate(rate);

    // Effects often size their look-ahead once they know the rate.
    processor->refreshLatency();
    if (controller != nullptr)
        controller->SetSignalLatency(processor->getLatencySamples());
}

void JuceAAX_Processor::followHostRate()
{
    OMBREL_ASSERT_MESSAGE_THREAD();
    const float requested = audioPath->getHostSampleRate();
    const float prepared = audioPath->getPreparedSampleRate();
    if (requested <= 0.0f || prepared <= 0.0f || requested == prepared)
        return;
    {
        const std::lock_guard<std::mutex> preparing(preparationLock);
        // The host thread may have prepared the effect meanwhile (a new initialisation).
        if (audioPath->getPreparedSampleRate() != prepared)
            return;
        // Blocks arriving now pass their input through rather than wait for the effect.
        const ProcessingExclusion::Holder held(processor->getProcessingExclusion(),
                                               ProcessingExclusion::Hold::sweep);
        processor->setRateAndBufferSizeDetails(static_cast<double>(requested), currentBlockSize);
        processor->prepareToPlay(static_cast<double>(requested), currentBlockSize);
        processor->refreshLatency();
        audioPath->setPreparedSampleRate(requested);
    }
    notifyHost(
        [&]
        {
            if (AAX_IController* controller = Controller())
                controller->SetSignalLatency(processor->getLatencySamples());
            return AAX_SUCCESS;
        });
}

//==============================================================================
AAX_Result JuceAAX_Processor::NotificationReceived(uint32_t type, const void* data, uint32_t size)
{
    return GuardHostCall(
        [&]
        {
            if (type == AAX_eNotificationEvent_EnteringOfflineMode)
                processor->setNonRealtime(true);
            else if (type == AAX_eNotificationEvent_ExitingOfflineMode)
                processor->setNonRealtime(false);
            return AAX_CEffectParameters::NotificationReceived(type, data, size);
        });
}

AAX_Result JuceAAX_Processor::ResetFieldData(int32_t field, void* data, uint32_t size)
{
    if (field != kAlgorithmFieldPrivateData || data == nullptr)
        return AAX_SUCCESS;
    JuceAAX_Processor* const self = this;
    auto* slots = static_cast<uint8_t*>(data);
    for (uint32_t slot = 0; slot < size / kPrivateDataSlotSize; ++slot)
        std::memcpy(slots + slot * kPrivateDataSlotSize, &self, kPrivateDataSlotSize);
    return AAX_SUCCESS;
}

//==============================================================================
// The library's controls chunk comes first, the state chunk after it at stateChunkIndex.
AAX_Result JuceAAX_Processor::GetNumberOfChunks(int32_t* count)
{
    const AAX_Result result = AAX_CEffectParameters::GetNumberOfChunks(count);
    if (result == AAX_SUCCESS)
        *count = stateChunkIndex + 1;
    return result;
}

AAX_Result JuceAAX_Processor::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id)
{
    if (index != stateChunkIndex || id == nullptr)
        return AAX_CEffectParameters::GetChunkIDFromIndex(index, id);
    *id = kProcessorStateChunkID;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkSize(AAX_CTypeID id, uint32_t* size)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunkSize(id, size);
    return GuardHostCall([&] { return sizeProcessorState(*processor, pendingState, size); });
}

AAX_Result JuceAAX_Processor::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunk(id, chunk);
    return GuardHostCall([&] { return readProcessorState(*processor, pendingState, chunk); });
}

AAX_Result JuceAAX_Processor::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    if (id == cDefaultChunkID)
        return restoreControls(chunk);
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::SetChunk(id, chunk);
    return GuardHostCall(
        [&]
        {
            const AAX_Result result = writeProcessorState(*processor, chunk);
            if (result == AAX_SUCCESS)
            {
                stateChunkRestored = true;
                showEffectValues();
            }
            return result;
        });
}

AAX_Result JuceAAX_Processor::GetCustomData(uint32_t block, uint32_t size, void* data, uint32_t* written)
{
    if (block != kAudioPathCountsBlock)
        return AAX_CEffectParameters::GetCustomData(block, size, data, written);
    if (data == nullptr || written == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AudioPathCounts counts;
    counts.passedThroughBlocks = audioPath->getPassedThroughBlocks();
    counts.droppedMidiEvents = audioPath->getDroppedMidiEvents();
    *written = writeAudioPathCounts(counts, data, size);
    return *written != 0 ? AAX_SUCCESS : AAX_ERROR_INCORRECT_CHUNK_SIZE;
}

//==============================================================================
juce::Optional<juce::AudioPlayHead::PositionInfo> JuceAAX_Processor::getPosition() const
{
    OMBREL_ASSERT_AUDIO_THREAD();
    // Only blocks ask, and closeHostSide waits for them (see transportOpen).
    return positionFromHostTransport(
        transportOpen.load(std::memory_order_acquire) ? mTransport.get() : nullptr,
        audioPath->getPreparedSampleRate());
}

//==============================================================================
template <typename Notify> void JuceAAX_Processor::notifyHost(Notify&& notify)
{
    const UseGate::Use use(notificationGate);
    if (use.isAdmitted())
        GuardHostCall(notify);
}

void JuceAAX_Processor::audioProcessorParameterChanged(juce::AudioProcessor*, int parameterIndex,
                                                       float newValue)
{
    // The audio thread never calls the host's automation delegate, which may wait for the host's
    // other threads; the message thread hands the value on.
    if (threadchecks::onAudioThread())
    {
        automation->push(parameterIndex, newValue);
        return;
    }
    // The value came from the effect: the host hears of it (touch, value, release), the effect is
    // not told its own value again. Teardown does not wait for this call either.
    automation->post(parameterIndex, newValue);
}

void JuceAAX_Processor::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&)
{
    notifyHost(
        [&]
        {
            // The host compares change counts, so the count wraps to 0 rather than going negative.
            mNumPlugInChanges =
                mNumPlugInChanges == std::numeric_limits<int32_t>::max() ? 0 : mNumPlugInChanges + 1;
            if (AAX_IController* controller = Controller())
                controller->SetSignalLatency(processor->getLatencySamples());
            return AAX_SUCCESS;
        });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int parameterIndex)
{
    notifyHost([&] { return TouchParameter(IndexText(parameterIndex).text); });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int parameterIndex)
{
    notifyHost([&] { return ReleaseParameter(IndexText(parameterIndex).text); });
}

} // namespace AAXClasses
