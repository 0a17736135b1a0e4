#pragma once
// Two-state taper with its threshold in the middle: normalized positions above 0.5 are on. The
// effect's own two-state parameters use it, so a host control dragged half-way stays off.

#include "aax_library/AAX_ITaperDelegate.h"

template <typename T> class AAX_CBinary2TaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_CBinary2TaperDelegate* Clone() const override { return new AAX_CBinary2TaperDelegate(*this); }
    T GetMaximumValue() const override { return static_cast<T>(true); }
    T GetMinimumValue() const override { return static_cast<T>(false); }
    T ConstrainRealValue(T value) const override { return value; }
    // Strict comparison: 0.5 and NaN are off.
    T NormalizedToReal(double normalizedValue) const override
    {
        return static_cast<T>(normalizedValue > kOffThreshold);
    }
    double RealToNormalized(T realValue) const override { return static_cast<bool>(realValue) ? 1.0 : 0.0; }

private:
    static constexpr double kOffThreshold = 0.5;
};
