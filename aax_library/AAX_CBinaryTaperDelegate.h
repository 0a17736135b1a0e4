#pragma once
// Two-state taper: normalized positions above the off threshold are on, others (NaN too) off. By
// default the threshold is 0.0, as the master bypass wants, so that the smallest move of the host's
// control already bypasses.

#include "aax_library/AAX_ITaperDelegate.h"

template <typename T> class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    explicit AAX_CBinaryTaperDelegate(double offThreshold = 0.0) : mOffThreshold(offThreshold) {}

    AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
    T GetMaximumValue() const override { return static_cast<T>(true); }
    T GetMinimumValue() const override { return static_cast<T>(false); }
    T ConstrainRealValue(T value) const override { return value; }
    // Strict comparison: the threshold itself and NaN are off.
    T NormalizedToReal(double normalizedValue) const override
    {
        return static_cast<T>(normalizedValue > mOffThreshold);
    }
    double RealToNormalized(T realValue) const override { return static_cast<bool>(realValue) ? 1.0 : 0.0; }

private:
    double mOffThreshold;
};
