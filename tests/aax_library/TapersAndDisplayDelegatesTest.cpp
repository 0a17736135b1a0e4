#include "aax_library/AAX_CBinary2TaperDelegate.h"
#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CUnitDisplayDelegateDecorator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

namespace
{
// Writes values with two decimals ("1.25"): a four-character number for values in [0, 10).
class TwoDecimalsDelegate : public AAX_IDisplayDelegate<float>
{
public:
    TwoDecimalsDelegate* Clone() const override { return new TwoDecimalsDelegate(*this); }
    bool ValueToString(float value, int32_t, AAX_CString* text) const override
    {
        return ValueToString(value, text);
    }
    bool ValueToString(float value, AAX_CString* text) const override
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
        *text = buffer;
        return true;
    }
    bool StringToValue(const AAX_CString& text, float* value) const override
    {
        lastInput = text;
        char* end = nullptr;
        *value = std::strtof(text.Get(), &end);
        return end != text.Get() && *end == '\0';
    }
    // What the decorator passed on, shared by every clone.
    static AAX_CString lastInput;
};
AAX_CString TwoDecimalsDelegate::lastInput;
} // namespace

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
    }
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
    const AAX_CUnitDisplayDelegateDecorator<float> delegate(TwoDecimalsDelegate(), AAX_CString(" dB"));
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
    const AAX_CUnitDisplayDelegateDecorator<float> delegate(TwoDecimalsDelegate(), AAX_CString(" dB"));
    float value = 0.0f;
    EXPECT_TRUE(delegate.StringToValue(AAX_CString("1.25 dB"), &value));
    EXPECT_STREQ("1.25", TwoDecimalsDelegate::lastInput.Get());
    EXPECT_EQ(1.25f, value);

    // The letters without the blank are not the unit: the text goes on unchanged (and fails there).
    EXPECT_FALSE(delegate.StringToValue(AAX_CString("1.25dB"), &value));
    EXPECT_STREQ("1.25dB", TwoDecimalsDelegate::lastInput.Get());

    // A text no longer than the unit is passed on as it is.
    delegate.StringToValue(AAX_CString(" dB"), &value);
    EXPECT_STREQ(" dB", TwoDecimalsDelegate::lastInput.Get());
}

TEST(DisplayDelegateDecorator, ForwardsEveryConversionToAClonedDelegate)
{
    std::unique_ptr<TwoDecimalsDelegate> original(new TwoDecimalsDelegate);
    const AAX_IDisplayDelegateDecorator<float> decorator(*original);
    original.reset(); // the decorator keeps its own clone
    std::unique_ptr<AAX_IDisplayDelegate<float>> clone(decorator.Clone());
    AAX_CString text;
    EXPECT_TRUE(clone->ValueToString(2.5f, 3, &text));
    EXPECT_STREQ("2.50", text.Get());
    float value = 0.0f;
    EXPECT_TRUE(clone->StringToValue(AAX_CString("0.75"), &value));
    EXPECT_EQ(0.75f, value);
    EXPECT_FALSE(clone->StringToValue(AAX_CString("loud"), &value));
}
