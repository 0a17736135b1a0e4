// The data-model object's parameters: publishing the master bypass and the effect's parameters,
// and the host's name, value and default queries and writes, which go straight to the processor so
// the host always sees what the effect holds.
#include "aax_adapter/JuceAAX_Processor.h"

#include "aax_adapter/MasterBypassParameter.h"
#include "aax_adapter/ParameterIdentifiers.h"
#include "aax_adapter/ProcessorParameterFactory.h"
#include "aax_library/AAX_GuardHostCall.h"
#include "aax_library/AAX_IParameter.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace AAXClasses
{

namespace
{

// Normalized values from the host reach the effect only inside 0 .. 1: effects commonly turn them
// into table positions. NaN is never forwarded.
bool toEffectValue(double value, float* effectValue)
{
    if (std::isnan(value))
        return false;
    *effectValue = static_cast<float>(std::clamp(value, 0.0, 1.0));
    return true;
}

// A double narrowed to float, held at the largest finite float of its sign beyond float's range
// (where a plain conversion would be undefined); NaN stays NaN.
float narrowToFloatClamped(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

} // namespace

//==============================================================================
void JuceAAX_Processor::publishBypassParameter()
{
    std::unique_ptr<AAX_IParameter> bypass = makeMasterBypassParameter();
    if (mParameterManager.AddParameter(bypass.get()))
        bypass.release();
    // The bypass reaches the processing callback only as this packet in its context.
    mPacketDispatcher.RegisterPacket(cDefaultMasterBypassID, kAlgorithmFieldBypass);
}

void JuceAAX_Processor::publishProcessorParameters()
{
    publishedProcessorParameters = 0;
    const int count = processor->getNumParameters();
    parameterDefaults.clear();
    parameterDefaults.reserve(static_cast<size_t>(std::max(count, 0)));
    publishedAsSwitch.assign(static_cast<size_t>(std::max(count, 0)), false);
    for (int index = 0; index < count; ++index)
    {
        PublishedProcessorParameter published = makeProcessorParameter(*processor, index);
        parameterDefaults.push_back(published.defaultValue);
        publishedAsSwitch[static_cast<size_t>(index)] = published.isSwitch;
        if (mParameterManager.AddParameter(published.parameter.get()))
            published.parameter.release();
        publishedProcessorParameters = index + 1;
    }
}

int32_t JuceAAX_Processor::publishedIndexOf(AAX_CParamID id) const
{
    if (id == nullptr || isMasterBypass(id))
        return -1;
    const int64_t index = leadingDecimal(id);
    return index >= 0 && index < publishedProcessorParameters ? static_cast<int32_t>(index) : -1;
}

AAX_Result JuceAAX_Processor::GetParameterName(AAX_CParamID id, AAX_IString* name)
{
    if (name == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // The full name is the longest form the published name keeps.
    return GetParameterNameOfLength(id, name, kParameterNameLength);
}

AAX_Result JuceAAX_Processor::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length)
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    return GuardHostCall(
        [&]
        {
            if (isMasterBypass(id))
            {
                name->Set(masterBypassNameOfLength(length));
                return AAX_SUCCESS;
            }
            const int32_t index = publishedIndexOf(id);
            name->Set(index >= 0 ? processorParameterName(*processor, index, length).toRawUTF8() : "");
            return AAX_SUCCESS;
        });
}

template <typename Read>
AAX_Result JuceAAX_Processor::answerPublishedValue(AAX_CParamID id, double* value, Read&& read) const
{
    const int32_t index = publishedIndexOf(id);
    if (index < 0)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (value == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            *value = read(index);
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value)
{
    // The bypass's default is its published one (off); a success that wrote nothing would hand the
    // host whatever its variable held.
    if (isMasterBypass(id))
        return AAX_CEffectParameters::GetParameterDefaultNormalizedValue(id, value);
    return answerPublishedValue(id, value,
                                [&](int32_t index)
                                {
                                    const size_t slot = static_cast<size_t>(index);
                                    return slot < parameterDefaults.size()
                                               ? static_cast<double>(parameterDefaults[slot])
                                               : 0.0;
                                });
}

AAX_Result JuceAAX_Processor::GetParameterNormalizedValue(AAX_CParamID id, double* value)
{
    if (isMasterBypass(id))
        return AAX_CEffectParameters::GetParameterNormalizedValue(id, value);
    // The effect's own value, so the host always sees what the effect holds.
    return answerPublishedValue(
        id, value, [&](int32_t index) { return static_cast<double>(processor->getParameter(index)); });
}

// Host values reach the effect. A switch's value does not when it leaves the switch where the
// effect already is: the published switch knows only 0 and 1, and every value the effect reports
// comes back from the host through it, so writing it would replace the effect's own value of the
// same meaning (a restored session's, say) with 0 or 1, and the effect's state would change.
void JuceAAX_Processor::writeToEffect(int32_t index, double value)
{
    float effectValue = 0.0f;
    if (!toEffectValue(value, &effectValue))
        return;
    const auto slot = static_cast<size_t>(index);
    if (slot < publishedAsSwitch.size() && publishedAsSwitch[slot] &&
        switchIsOn(effectValue) == switchIsOn(processor->getParameter(index)))
        return;
    processor->setParameter(index, effectValue);
}

// The effect takes a host value before the published parameter does: a value the effect refuses
// (it throws) is answered as an error and changes nothing else, so the host never shows a value the
// effect does not hold.
AAX_Result JuceAAX_Processor::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return GuardHostCall(
        [&]
        {
            const int32_t index = publishedIndexOf(id);
            if (index >= 0)
                writeToEffect(index, value);
            const AAX_Result published = AAX_CEffectParameters::SetParameterNormalizedValue(id, value);
            return index < 0 ? published : AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    if (isMasterBypass(id))
        return AAX_CEffectParameters::SetParameterNormalizedRelative(id, delta);
    const int32_t index = publishedIndexOf(id);
    if (index < 0)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return GuardHostCall(
        [&]
        {
            const float sum = processor->getParameter(index) + narrowToFloatClamped(delta);
            writeToEffect(index, static_cast<double>(sum));
            // The published parameter gets the sum itself; its taper keeps it in range.
            if (AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
                parameter != nullptr && !std::isnan(sum))
                parameter->SetValueWithFloat(sum);
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source)
{
    return GuardHostCall(
        [&]
        {
            const int32_t index = publishedIndexOf(id);
            if (index >= 0)
                writeToEffect(index, value);
            return AAX_CEffectParameters::UpdateParameterNormalizedValue(id, value, source);
        });
}

// The 'All ' chunk holds the effect's whole state, and the controls are only its published
// values, which are stale wherever the effect changed a value without reporting it. So once the
// host has restored an 'All ' chunk into this instance, a controls chunk (before or after it) takes
// nothing to the effect; only a host that restores the controls alone has them reach the effect.
// Either way no request is posted: its answer could arrive after the 'All ' restore and overwrite
// it, and a host writing automation would record the restore. The published parameters take the
// effect's values instead.
AAX_Result JuceAAX_Processor::restoreControls(const AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            if (!stateChunkRestored)
            {
                mDefaultChunk.Load(chunk);
                for (int32_t index = 0; index < publishedProcessorParameters; ++index)
                {
                    double stored = 0.0;
                    if (!mDefaultChunk.StoredNumber(IndexText(index).text, &stored))
                        continue;
                    try
                    {
                        writeToEffect(index, stored);
                    }
                    catch (...)
                    {
                        // A value the effect refuses leaves that parameter as it was.
                    }
                }
            }
            showEffectValues();
            return AAX_SUCCESS;
        });
}

void JuceAAX_Processor::showEffectValues()
{
    for (int32_t index = 0; index < publishedProcessorParameters; ++index)
    {
        AAX_IParameter* parameter = mParameterManager.GetParameterByID(IndexText(index).text);
        if (parameter == nullptr)
            continue;
        const float effectValue = processor->getParameter(index);
        const auto slot = static_cast<size_t>(index);
        parameter->UpdateNormalizedValue(
            publishedValueOf(effectValue, slot < publishedAsSwitch.size() && publishedAsSwitch[slot]));
        processor->noteValueShownToHost(index, effectValue);
    }
}

} // namespace AAXClasses
