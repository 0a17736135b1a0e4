#pragma once
// Display delegates convert between a parameter's real value and the text the host shows for it.

#include "aax_library/AAX_CString.h"

#include <cstdint>

// The type-erased root, so that a parameter of any value type can be handed a display delegate
// through one signature; the parameter checks that the delegate matches its value type.
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

template <typename T> class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    ~AAX_IDisplayDelegate() override = default;

    // A new heap copy; the caller owns it.
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    // Writes the text for value into valueString; true when the text is valid. A null
    // valueString gives false.
    virtual bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const = 0;
    virtual bool ValueToString(T value, AAX_CString* valueString) const = 0;
    // Reads text into *value; true when the text converts. A null value gives false.
    virtual bool StringToValue(const AAX_CString& valueString, T* value) const = 0;
};
