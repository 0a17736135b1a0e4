#pragma once
// The parameter template for the value types the library publishes (bool and float). The value
// changes the plug-in makes go to the host as automation requests while an automation delegate is
// attached, and come back through UpdateNormalizedValue; without one they are stored directly.

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_IAutomationDelegate.h"
#include "aax_library/AAX_IDisplayDelegate.h"
#include "aax_library/AAX_IParameter.h"
#include "aax_library/AAX_ITaperDelegate.h"
#include "platform/NonCopyable.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <type_traits>

template <typename T> class AAX_CParameter : public AAX_IParameter, private NonCopyable
{
public:
    // Identifiers longer than this are cut; the host copies them into fixed fields.
    static constexpr size_t kMaxIdentifierChars = 31;
    // Default step counts for a parameter whose steps were never set.
    static constexpr uint32_t kDefaultDiscreteSteps = 2;
    static constexpr uint32_t kDefaultContinuousSteps = 128;

    // Both delegates are cloned, so temporaries may be passed. A null identifier counts as empty.
    AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                   const AAX_ITaperDelegate<T>& taperDelegate, const AAX_IDisplayDelegate<T>& displayDelegate,
                   bool automatable)
        : mName(name), mAutomatable(automatable), mTaperDelegate(taperDelegate.Clone()),
          mDisplayDelegate(displayDelegate.Clone()), mDefaultValue(defaultValue)
    {
        const size_t length = identifier != nullptr ? ::strnlen(identifier, kMaxIdentifierChars) : 0;
        std::memcpy(mIdentifier, identifier != nullptr ? identifier : "", length);
        mIdentifier[length] = '\0';

        if (mNumSteps == 0)
        {
            if (mType == AAX_eParameterType_Discrete)
                mNumSteps = kDefaultDiscreteSteps;
            else if (mType == AAX_eParameterType_Continuous)
                mNumSteps = kDefaultContinuousSteps;
        }
        SetValue(mDefaultValue);
    }

    ~AAX_CParameter() override { SetAutomationDelegate(nullptr); }

    AAX_CParamID Identifier() const override { return mIdentifier; }
    void SetName(const AAX_CString& name) override { mName = name; }
    const AAX_CString& Name() const override { return mName; }

    // One variant per length: a later name of the same length replaces the earlier one.
    void AddShortenedName(const AAX_CString& name) override
    {
        mShortenedNames[static_cast<int32_t>(name.Length())] = name;
    }

    // The longest variant within maxNumChars; when every variant is longer, the shortest one.
    const AAX_CString& ShortenedName(int32_t maxNumChars) const override
    {
        if (maxNumChars < 0 || static_cast<int64_t>(maxNumChars) >= static_cast<int64_t>(mName.Length()) ||
            mShortenedNames.empty())
            return mName;
        auto above = mShortenedNames.upper_bound(maxNumChars);
        if (above == mShortenedNames.begin())
            return above->second;
        return std::prev(above)->second;
    }

    void ClearShortenedNames() override { mShortenedNames.clear(); }
    bool Automatable() const override { return mAutomatable; }

    // Re-attaching the same delegate registers again, as the host expects after every attach.
    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->UnregisterParameter(mIdentifier);
        mAutomationDelegate = delegate;
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->RegisterParameter(mIdentifier);
    }

    void Touch() override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostTouchRequest(mIdentifier);
    }

    void Release() override
    {
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostReleaseRequest(mIdentifier);
    }

    void SetNormalizedValue(double normalizedValue) override
    {
        SetValue(mTaperDelegate->NormalizedToReal(normalizedValue));
    }

    double GetNormalizedValue() const override { return mTaperDelegate->RealToNormalized(mValue); }

    // Changes the default only; the current value stays.
    void SetNormalizedDefaultValue(double normalizedDefault) override
    {
        mDefaultValue =
            mTaperDelegate->ConstrainRealValue(mTaperDelegate->NormalizedToReal(normalizedDefault));
    }

    double GetNormalizedDefaultValue() const override
    {
        return mTaperDelegate->RealToNormalized(mDefaultValue);
    }
    void SetToDefaultValue() override { SetValue(mDefaultValue); }
    void SetNumberOfSteps(uint32_t numSteps) override { mNumSteps = numSteps; }
    uint32_t GetNumberOfSteps() const override { return mNumSteps; }

    // Divides by the reciprocal of (steps - 1) rather than multiplying by it: hosts round step
    // positions this way, and the two differ at exact halves (0.5 of 100 steps is step 49).
    uint32_t GetStepValue() const override
    {
        const double numSteps = static_cast<double>(GetNumberOfSteps());
        if (numSteps < 2.0)
            return 0;
        double step = GetNormalizedValue() / (1.0 / (numSteps - 1.0)) + 0.5;
        // A NaN position (a taper that passes NaN through) counts as the first step.
        if (!(step > 0.0))
            step = 0.0;
        if (step > numSteps - 1.0)
            step = numSteps - 1.0;
        return static_cast<uint32_t>(step);
    }

    void SetStepValue(uint32_t step) override
    {
        const double numSteps = static_cast<double>(GetNumberOfSteps());
        if (numSteps < 2.0)
            return;
        double normalized = (1.0 / (numSteps - 1.0)) * step;
        if (normalized < 0.0)
            normalized = 0.0;
        if (normalized > 1.0)
            normalized = 1.0;
        SetNormalizedValue(normalized);
    }

    // The display delegates this library uses fit their texts themselves, so the limit is not
    // passed on.
    bool GetValueString(int32_t /*maxNumChars*/, AAX_CString* valueString) const override
    {
        return mDisplayDelegate->ValueToString(mValue, valueString);
    }

    bool GetValueString(AAX_CString* valueString) const override
    {
        return mDisplayDelegate->ValueToString(mValue, valueString);
    }

    // The converted value is written even when it lies outside the taper's range, so that the
    // caller sees what the text meant; the result says whether it is usable.
    bool GetNormalizedValueFromString(const AAX_CString& valueString, double* normalizedValue) const override
    {
        T value{};
        if (!mDisplayDelegate->StringToValue(valueString, &value))
            return false;
        if (normalizedValue != nullptr)
            *normalizedValue = mTaperDelegate->RealToNormalized(value);
        return IsInRange(value);
    }

    bool GetStringFromNormalizedValue(double normalizedValue, int32_t maxNumChars,
                                      AAX_CString* valueString) const override
    {
        const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
        if (!mDisplayDelegate->ValueToString(value, maxNumChars, valueString))
            return false;
        return IsInRange(value);
    }

    bool GetStringFromNormalizedValue(double normalizedValue, AAX_CString* valueString) const override
    {
        const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
        if (!mDisplayDelegate->ValueToString(value, valueString))
            return false;
        return IsInRange(value);
    }

    bool SetValueFromString(const AAX_CString& valueString) override
    {
        T value{};
        if (!mDisplayDelegate->StringToValue(valueString, &value))
            return false;
        SetValue(value);
        return true;
    }

    bool GetValueAsBool(bool* value) const override { return GetTyped(value); }
    bool GetValueAsInt32(int32_t* value) const override { return GetTyped(value); }
    bool GetValueAsFloat(float* value) const override { return GetTyped(value); }
    bool GetValueAsDouble(double* value) const override { return GetTyped(value); }
    bool GetValueAsString(AAX_IString* /*value*/) const override { return false; }
    bool SetValueWithBool(bool value) override { return SetTyped(value); }
    bool SetValueWithInt32(int32_t value) override { return SetTyped(value); }
    bool SetValueWithFloat(float value) override { return SetTyped(value); }
    bool SetValueWithDouble(double value) override { return SetTyped(value); }
    bool SetValueWithString(const AAX_IString& /*value*/) override { return false; }

    void SetType(AAX_EParameterType type) override { mType = type; }
    AAX_EParameterType GetType() const override { return mType; }
    void SetOrientation(AAX_EParameterOrientation orientation) override { mOrientation = orientation; }
    AAX_EParameterOrientation GetOrientation() const override { return mOrientation; }

    // preserveValue keeps the real value and reports it under the new taper; otherwise the
    // normalized position is kept and a new real value derived from it.
    void SetTaperDelegate(const AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) override
    {
        // A taper of another value type would be misread as ours; it is refused.
        const auto* typed = dynamic_cast<const AAX_ITaperDelegate<T>*>(&taperDelegate);
        if (typed == nullptr)
            return;
        const double oldNormalized = GetNormalizedValue();
        mTaperDelegate.reset(typed->Clone());
        mNotifyPending = true;
        if (preserveValue)
            SetValue(mValue);
        else
            UpdateNormalizedValue(oldNormalized);
    }

    // The value stays; the host is told to fetch the new text.
    void SetDisplayDelegate(const AAX_IDisplayDelegateBase& displayDelegate) override
    {
        const auto* typed = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&displayDelegate);
        if (typed == nullptr)
            return;
        mDisplayDelegate.reset(typed->Clone());
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostCurrentValue(mIdentifier, GetNormalizedValue());
    }

    // An unchanged value is ignored unless a report is pending; the host gets back the normalized
    // value exactly as it sent it.
    void UpdateNormalizedValue(double normalizedValue) override
    {
        const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
        if (!mNotifyPending && value == mValue)
            return;
        mValue = value;
        if (mAutomationDelegate != nullptr)
            mAutomationDelegate->PostCurrentValue(mIdentifier, normalizedValue);
        mNotifyPending = false;
    }

    // The plug-in side's way of setting the value: with an automation delegate it becomes a touch,
    // set-value request and release, and the value changes when the host answers. [any thread]
    // with an automation delegate attached (only requests are posted), [host thread] without one.
    void SetValue(T value)
    {
        const double normalized = mTaperDelegate->RealToNormalized(value);
        if (mAutomationDelegate != nullptr)
        {
            Touch();
            mAutomationDelegate->PostSetValueRequest(mIdentifier, normalized);
            Release();
        }
        else
        {
            mNotifyPending = true;
            UpdateNormalizedValue(normalized);
        }
    }

    T GetValue() const { return mValue; }
    T GetDefaultValue() const { return mDefaultValue; }
    const AAX_ITaperDelegate<T>* TaperDelegate() const { return mTaperDelegate.get(); }
    const AAX_IDisplayDelegate<T>* DisplayDelegate() const { return mDisplayDelegate.get(); }

private:
    bool IsInRange(T value) const
    {
        return !(value > mTaperDelegate->GetMaximumValue() || value < mTaperDelegate->GetMinimumValue());
    }

    template <typename U> bool GetTyped(U* out) const
    {
        if constexpr (std::is_same_v<U, T>)
        {
            if (out == nullptr)
                return false;
            *out = mValue;
            return true;
        }
        else
        {
            (void)out;
            return false;
        }
    }

    template <typename U> bool SetTyped(U value)
    {
        if constexpr (std::is_same_v<U, T>)
        {
            SetValue(value);
            return true;
        }
        else
        {
            (void)value;
            return false;
        }
    }

    char mIdentifier[kMaxIdentifierChars + 1] = {};
    AAX_CString mName;
    std::map<int32_t, AAX_CString> mShortenedNames;
    bool mAutomatable;
    uint32_t mNumSteps = 0;
    AAX_EParameterType mType = AAX_eParameterType_Continuous;
    AAX_EParameterOrientation mOrientation = AAX_eParameterOrientation_Default;
    std::unique_ptr<AAX_ITaperDelegate<T>> mTaperDelegate;
    std::unique_ptr<AAX_IDisplayDelegate<T>> mDisplayDelegate;
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr; // borrowed
    bool mNotifyPending = true;
    T mValue{};
    T mDefaultValue;
};
