#pragma once
// Two-state text delegate: one fixed text for off, one for on, and the exact texts read back.

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_CFullTextDisplayDelegate.h"

template <typename T> class AAX_CBinaryDisplayDelegate : public AAX_CFullTextDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate(const char* falseString, const char* trueString)
        : mFalseString(falseString), mTrueString(trueString)
    {
    }

    AAX_CBinaryDisplayDelegate* Clone() const override { return new AAX_CBinaryDisplayDelegate(*this); }

    // Both texts are short words chosen by the plug-in, so no shorter variants are kept: the
    // limited form shows the full text too.
    using AAX_CFullTextDisplayDelegate<T>::ValueToString;
    bool ValueToString(T value, AAX_CString* valueString) const override
    {
        if (valueString == nullptr)
            return false;
        *valueString = static_cast<bool>(value) ? mTrueString : mFalseString;
        return true;
    }

    // Exact, case-sensitive match; when both texts are equal the true text wins.
    bool StringToValue(const AAX_CString& valueString, T* value) const override
    {
        if (value == nullptr)
            return false;
        if (valueString == mTrueString)
        {
            *value = static_cast<T>(true);
            return true;
        }
        *value = static_cast<T>(false);
        return valueString == mFalseString;
    }

    const AAX_CString& FalseString() const { return mFalseString; }
    const AAX_CString& TrueString() const { return mTrueString; }

private:
    AAX_CString mFalseString;
    AAX_CString mTrueString;
};
