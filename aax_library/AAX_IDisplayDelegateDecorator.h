#pragma once
// A display delegate that wraps another and forwards every conversion to it; subclasses change
// the text on its way through.

#include "aax_library/AAX_IDisplayDelegate.h"

#include <memory>

template <typename T> class AAX_IDisplayDelegateDecorator : public AAX_IDisplayDelegate<T>
{
public:
    // Keeps a clone, so the caller may pass a temporary.
    explicit AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped) : mWrapped(wrapped.Clone())
    {
    }
    AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegateDecorator& other)
        : AAX_IDisplayDelegate<T>(other), mWrapped(other.mWrapped->Clone())
    {
    }
    AAX_IDisplayDelegateDecorator& operator=(const AAX_IDisplayDelegateDecorator&) = delete;

    AAX_IDisplayDelegateDecorator* Clone() const override { return new AAX_IDisplayDelegateDecorator(*this); }

    bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
    {
        return mWrapped->ValueToString(value, maxNumChars, valueString);
    }
    bool ValueToString(T value, AAX_CString* valueString) const override
    {
        return mWrapped->ValueToString(value, valueString);
    }
    bool StringToValue(const AAX_CString& valueString, T* value) const override
    {
        return mWrapped->StringToValue(valueString, value);
    }

protected:
    const AAX_IDisplayDelegate<T>& Wrapped() const { return *mWrapped; }

private:
    std::unique_ptr<AAX_IDisplayDelegate<T>> mWrapped;
};
