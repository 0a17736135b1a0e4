#pragma once
// The two-state taper with its threshold in the middle: normalized positions above 0.5 are on. The
// effect's own two-state parameters use it, so a host control dragged half-way stays off.

#include "aax_library/AAX_CBinaryTaperDelegate.h"

template <typename T> class AAX_CBinary2TaperDelegate : public AAX_CBinaryTaperDelegate<T>
{
public:
    AAX_CBinary2TaperDelegate() : AAX_CBinaryTaperDelegate<T>(kMiddle) {}

    AAX_CBinary2TaperDelegate* Clone() const override { return new AAX_CBinary2TaperDelegate(*this); }

private:
    static constexpr double kMiddle = 0.5;
};
