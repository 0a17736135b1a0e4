#pragma once
// Two-state taper: any normalized position above 0.0 is on. The master bypass uses it, so that
// the smallest move of the host's control already bypasses.

#include "aax_library/AAX_ITaperDelegate.h"

template <typename T> class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
    T GetMaximumValue() const override { return static_cast<T>(true); }
    T GetMinimumValue() const override { return static_cast<T>(false); }
    T ConstrainRealValue(T value) const override { return value; }
    // Strict comparison: 0.0 and NaN are off.
    T NormalizedToReal(double normalizedValue) const override
    {
        return static_cast<T>(normalizedValue > kOffThreshold);
    }
    double RealToNormalized(T realValue) const override { return static_cast<bool>(realValue) ? 1.0 : 0.0; }

private:
    static constexpr double kOffThreshold = 0.0;
};
