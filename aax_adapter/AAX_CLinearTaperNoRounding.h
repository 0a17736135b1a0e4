#pragma once
// A linear taper between two bounds without rounding to a grid: every normalized position maps to
// its own real value. The adapter uses it from 0.0 to 1.0 for the effect's continuous parameters,
// whose real values are the effect's own normalized values.

#include "aax_library/AAX_ITaperDelegate.h"

#include <cstdint>

template <typename T, int32_t RealPrecision> class AAX_CLinearTaperNoRounding : public AAX_ITaperDelegate<T>
{
public:
    AAX_CLinearTaperNoRounding(T minValue = 0, T maxValue = 1) : minimum(minValue), maximum(maxValue) {}

    AAX_CLinearTaperNoRounding* Clone() const override { return new AAX_CLinearTaperNoRounding(*this); }
    T GetMaximumValue() const override { return maximum; }
    T GetMinimumValue() const override { return minimum; }

    // A NaN fails both comparisons and passes through unchanged.
    T ConstrainRealValue(T value) const override
    {
        if (value > maximum)
            return maximum;
        if (value < minimum)
            return minimum;
        return value;
    }

    // Worked in double precision and rounded to T once. The bounds are applied before the rounding,
    // which gives the same result (rounding is monotonic and the bounds are values of T) and keeps
    // a far-out position from being narrowed to a value T cannot hold.
    T NormalizedToReal(double normalizedValue) const override
    {
        const double real = (static_cast<double>(maximum) - static_cast<double>(minimum)) * normalizedValue +
                            static_cast<double>(minimum);
        if (real > static_cast<double>(maximum))
            return maximum;
        if (real < static_cast<double>(minimum))
            return minimum;
        return ConstrainRealValue(static_cast<T>(real));
    }

    double RealToNormalized(T realValue) const override
    {
        const double range = static_cast<double>(maximum) - static_cast<double>(minimum);
        // An empty range has only one position.
        if (range == 0.0)
            return 0.0;
        return (static_cast<double>(ConstrainRealValue(realValue)) - static_cast<double>(minimum)) / range;
    }

private:
    T minimum;
    T maximum;
};
