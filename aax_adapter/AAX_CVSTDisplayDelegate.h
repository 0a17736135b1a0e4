#pragma once
// Shows a parameter's value as the text the hosted effect itself displayed for it: the processor
// probed the effect at every hundredth of the value range, and the value picks the probe at or
// below it. Text typed by the user cannot be read back (the effect's texts have no inverse), so
// every text converts to 0.0.

#include "aax_library/AAX_CFullTextDisplayDelegate.h"
#include "effect_bridge/ParameterTextTable.h"

#include <cstdint>

// One parameter's probed texts: entry k is the effect's text at value k / 100, at most 16
// characters and always terminated.
using AAX_VSTParameterTextRow = ParameterTextTable::Row;

template <typename T> class AAX_CVSTDisplayDelegate : public AAX_CFullTextDisplayDelegate<T>
{
public:
    // row is borrowed: the processor owns it and outlives every parameter that shows it.
    explicit AAX_CVSTDisplayDelegate(const AAX_VSTParameterTextRow* row) : texts(row) {}

    AAX_CVSTDisplayDelegate* Clone() const override { return new AAX_CVSTDisplayDelegate(*this); }

    // The probed texts are at most 16 characters: the limited form shows them whole too.
    using AAX_CFullTextDisplayDelegate<T>::ValueToString;

    // The value picks entry value x 100, truncated toward zero; outside 0 .. 100 the text is empty.
    bool ValueToString(T value, AAX_CString* valueString) const override
    {
        if (valueString == nullptr)
            return false;
        valueString->Set("");
        const int entry = ParameterTextTable::entryOf(static_cast<float>(value));
        if (texts != nullptr && entry >= 0)
            valueString->Set((*texts)[static_cast<size_t>(entry)].data());
        return true;
    }

    bool StringToValue(const AAX_CString& /*valueString*/, T* value) const override
    {
        if (value == nullptr)
            return false;
        *value = static_cast<T>(0);
        return true;
    }

private:
    const AAX_VSTParameterTextRow* texts; // borrowed
};
