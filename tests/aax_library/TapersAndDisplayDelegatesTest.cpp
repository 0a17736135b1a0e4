#include "aax_library/AAX_CBinary2TaperDelegate.h"
#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CUnitDisplayDelegateDecorator.h"

#include "TestDelegates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

TEST(BinaryTapers, ThresholdsAreStrictAndNaNIsOff)
{
    const AAX_CBinaryTaperDelegate<bool> bypass;
    EXPECT_FALSE(bypass.NormalizedToReal(0.0));
    EXPECT_TRUE(bypass.NormalizedToReal(0.0001));
    EXPECT_FALSE(bypass.NormalizedToReal(std::nan("")));

    const AAX_CBinary2TaperDelegate<bool> twoState;
    EXPECT_FALSE(twoState.NormalizedToReal(0.5));
    EXPECT_TRUE(twoState.NormalizedToReal(0.5001));
    EXPECT_FALSE(twoState.NormalizedToReal(std::nan("")));

    for (const AAX_ITaperDelegate<bool>* taper : {static_cast<const AAX_ITaperDelegate<bool>*>(&bypass),
                                                  static_cast<const AAX_ITaperDelegate<bool>*>(&twoState)})
    {
        EXPECT_EQ(1.0, taper->RealToNormalized(true));
        EXPECT_EQ(0.0, taper->RealToNormalized(false));
        EXPECT_TRUE(taper->GetMaximumValue());
        EXPECT_FALSE(taper->GetMinimumValue());
        std::unique_ptr<AAX_ITaperDelegate<bool>> clone(taper->Clone());
        EXPECT_EQ(typeid(*taper), typeid(*clone));
        for (const double position : {0.0, 0.0001, 0.5, 0.5001})
            EXPECT_EQ(taper->NormalizedToReal(position), clone->NormalizedToReal(position)) << position;
    }

    // The threshold is the taper's own: any other sits where it is asked to.
    const AAX_CBinaryTaperDelegate<bool> quarter(0.25);
    EXPECT_FALSE(quarter.NormalizedToReal(0.25));
    EXPECT_TRUE(quarter.NormalizedToReal(0.2501));
    const std::unique_ptr<AAX_ITaperDelegate<bool>> quarterClone(quarter.Clone());
    EXPECT_FALSE(quarterClone->NormalizedToReal(0.25));
    EXPECT_TRUE(quarterClone->NormalizedToReal(0.2501));
}

TEST(BinaryDisplayDelegate, ShowsAndReadsBackItsTwoWordsExactly)
{
    const AAX_CBinaryDisplayDelegate<bool> delegate("bypass", "on");
    std::unique_ptr<AAX_IDisplayDelegate<bool>> clone(delegate.Clone());
    AAX_CString text("previous");
    EXPECT_TRUE(clone->ValueToString(true, &text));
    EXPECT_STREQ("on", text.Get());
    EXPECT_TRUE(clone->ValueToString(false, 1, &text));
    EXPECT_STREQ("bypass", text.Get());

    bool value = false;
    EXPECT_TRUE(clone->StringToValue(AAX_CString("on"), &value));
    EXPECT_TRUE(value);
    EXPECT_TRUE(clone->StringToValue(AAX_CString("bypass"), &value));
    EXPECT_FALSE(value);
    value = true;
    EXPECT_FALSE(clone->StringToValue(AAX_CString("On"), &value));
    EXPECT_FALSE(value);
}

TEST(BinaryDisplayDelegate, TrueTextWinsWhenBothTextsAreEqual)
{
    const AAX_CBinaryDisplayDelegate<bool> delegate("same", "same");
    bool value = false;
    EXPECT_TRUE(delegate.StringToValue(AAX_CString("same"), &value));
    EXPECT_TRUE(value);
}

TEST(UnitDisplayDelegateDecorator, AppendsTheUnitOnlyWhenAllOfItFits)
{
    const AAX_CUnitDisplayDelegateDecorator<float> delegate(DecimalTestDelegate(), AAX_CString(" dB"));
    std::unique_ptr<AAX_IDisplayDelegate<float>> clone(delegate.Clone());
    AAX_CString text;
    EXPECT_TRUE(clone->ValueToString(1.25f, &text));
    EXPECT_STREQ("1.25 dB", text.Get());
    EXPECT_TRUE(clone->ValueToString(1.25f, 6, &text));
    EXPECT_STREQ("1.25", text.Get());
    EXPECT_TRUE(clone->ValueToString(1.25f, 7, &text));
    EXPECT_STREQ("1.25 dB", text.Get());
    EXPECT_TRUE(clone->ValueToString(1.25f, -3, &text));
    EXPECT_STREQ("1.25", text.Get());
}

TEST(UnitDisplayDelegateDecorator, StripsOnlyAnExactUnitEnding)
{
    const AAX_CUnitDisplayDelegateDecorator<float> delegate(DecimalTestDelegate(), AAX_CString(" dB"));
    float value = 0.0f;
    EXPECT_TRUE(delegate.StringToValue(AAX_CString("1.25 dB"), &value));
    EXPECT_STREQ("1.25", DecimalTestDelegate::LastInput().Get());
    EXPECT_EQ(1.25f, value);

    // The letters without the blank are not the unit: the text goes on unchanged (and fails there).
    EXPECT_FALSE(delegate.StringToValue(AAX_CString("1.25dB"), &value));
    EXPECT_STREQ("1.25dB", DecimalTestDelegate::LastInput().Get());

    // A text no longer than the unit is passed on as it is.
    delegate.StringToValue(AAX_CString(" dB"), &value);
    EXPECT_STREQ(" dB", DecimalTestDelegate::LastInput().Get());
}
