#pragma once
// The base of delegates whose texts are always shown whole: the limited form gives the full text,
// and any shortening is left to the decorators around the delegate.

#include "aax_library/AAX_IDisplayDelegate.h"

template <typename T> class AAX_CFullTextDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    using AAX_IDisplayDelegate<T>::ValueToString;

    bool ValueToString(T value, int32_t /*maxNumChars*/, AAX_CString* valueString) const override
    {
        return ValueToString(value, valueString);
    }
};
