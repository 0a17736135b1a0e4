#pragma once
// Appends a unit text ("dB", " ms") to the wrapped delegate's text and strips it again on input.

#include "aax_library/AAX_IDisplayDelegateDecorator.h"

#include <cstring>

template <typename T> class AAX_CUnitDisplayDelegateDecorator : public AAX_IDisplayDelegateDecorator<T>
{
public:
    AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped, const AAX_CString& unitString)
        : AAX_IDisplayDelegateDecorator<T>(wrapped), mUnitString(unitString)
    {
    }

    AAX_CUnitDisplayDelegateDecorator* Clone() const override
    {
        return new AAX_CUnitDisplayDelegateDecorator(*this);
    }

    // The unit is appended directly, whatever the wrapped delegate answered.
    bool ValueToString(T value, AAX_CString* valueString) const override
    {
        const bool valid = this->Wrapped().ValueToString(value, valueString);
        if (valueString != nullptr)
            valueString->Append(mUnitString);
        return valid;
    }

    // The unit is shown only when all of it fits in the limit: a cut unit would misname the value.
    bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
    {
        const bool valid = this->Wrapped().ValueToString(value, maxNumChars, valueString);
        if (valueString != nullptr)
        {
            const int64_t limit = maxNumChars > 0 ? maxNumChars : 0;
            const int64_t length = valueString->Length();
            if (limit > length && limit - length >= static_cast<int64_t>(mUnitString.Length()))
                valueString->Append(mUnitString);
        }
        return valid;
    }

    // Only an exact unit ending is removed; nothing else (no blanks) is trimmed.
    bool StringToValue(const AAX_CString& valueString, T* value) const override
    {
        const uint32_t textLength = valueString.Length();
        const uint32_t unitLength = mUnitString.Length();
        if (textLength > unitLength &&
            std::memcmp(valueString.Get() + (textLength - unitLength), mUnitString.Get(), unitLength) == 0)
        {
            AAX_CString number;
            valueString.SubString(0, textLength - unitLength, &number);
            return this->Wrapped().StringToValue(number, value);
        }
        return this->Wrapped().StringToValue(valueString, value);
    }

    const AAX_CString& UnitString() const { return mUnitString; }

private:
    AAX_CString mUnitString;
};
