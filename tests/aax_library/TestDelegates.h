#pragma once
// Small float delegates for tests of the parameter machinery: a linear taper that leaves values
// outside its range unconstrained (so range tests are observable) and a two-decimals text delegate.

#include "aax_library/AAX_IDisplayDelegate.h"
#include "aax_library/AAX_ITaperDelegate.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

class LinearTestTaper : public AAX_ITaperDelegate<float>
{
public:
    LinearTestTaper(float minimum = 0.0f, float maximum = 1.0f) : mMinimum(minimum), mMaximum(maximum) {}
    LinearTestTaper* Clone() const override { return new LinearTestTaper(*this); }
    float GetMaximumValue() const override { return mMaximum; }
    float GetMinimumValue() const override { return mMinimum; }
    float ConstrainRealValue(float value) const override { return std::clamp(value, mMinimum, mMaximum); }
    float NormalizedToReal(double normalized) const override
    {
        return static_cast<float>(mMinimum + normalized * (mMaximum - mMinimum));
    }
    double RealToNormalized(float real) const override
    {
        return (static_cast<double>(real) - mMinimum) / (static_cast<double>(mMaximum) - mMinimum);
    }

private:
    float mMinimum;
    float mMaximum;
};

// Writes "%.2f" ("1.25": four characters for values in [0, 10)); reads any complete number.
class DecimalTestDelegate : public AAX_IDisplayDelegate<float>
{
public:
    DecimalTestDelegate* Clone() const override { return new DecimalTestDelegate(*this); }
    bool ValueToString(float value, int32_t, AAX_CString* text) const override
    {
        return ValueToString(value, text);
    }
    bool ValueToString(float value, AAX_CString* text) const override
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
        *text = buffer;
        return true;
    }
    bool StringToValue(const AAX_CString& text, float* value) const override
    {
        LastInput() = text;
        char* end = nullptr;
        const float parsed = std::strtof(text.Get(), &end);
        if (end == text.Get() || *end != '\0')
            return false;
        *value = parsed;
        return true;
    }
    // The last text any instance was asked to read.
    static AAX_CString& LastInput()
    {
        static AAX_CString lastInput;
        return lastInput;
    }
};
