// The adapter's own taper and display delegate, and the stem-format tables.

#include "aax_adapter/AAX_CLinearTaperNoRounding.h"
#include "aax_adapter/AAX_CVSTDisplayDelegate.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_CUnitDisplayDelegateDecorator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

using namespace AAXClasses;

namespace
{

// Entry k reads "k/100" as an effect would show it.
AAX_VSTParameterTextRow probedTexts()
{
    AAX_VSTParameterTextRow row{};
    for (size_t k = 0; k < row.size(); ++k)
        std::snprintf(row[k].data(), row[k].size(), "%zu/100", k);
    return row;
}

std::string text(const AAX_IDisplayDelegate<float>& delegate, float value)
{
    AAX_CString out("stale");
    EXPECT_TRUE(delegate.ValueToString(value, &out));
    return out.Get();
}

} // namespace

TEST(VSTDisplayDelegate, TheValuePicksTheProbedTextAtOrBelowIt)
{
    const AAX_VSTParameterTextRow row = probedTexts();
    const AAX_CVSTDisplayDelegate<float> delegate(&row);
    EXPECT_EQ("100/100", text(delegate, 1.0f));
    EXPECT_EQ("99/100", text(delegate, 0.999f));
    EXPECT_EQ("0/100", text(delegate, -0.005f));
    EXPECT_EQ("50/100", text(delegate, 0.5f));
    // Outside the probed range, and for values with no position, the text is empty.
    EXPECT_EQ("", text(delegate, -0.01f));
    EXPECT_EQ("", text(delegate, 1.01f));
    EXPECT_EQ("", text(delegate, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ("", text(delegate, std::numeric_limits<float>::infinity()));
    EXPECT_EQ("", text(delegate, -3.0e38f));

    AAX_CString limited;
    EXPECT_TRUE(delegate.ValueToString(0.25f, 2, &limited));
    EXPECT_STREQ("25/100", limited.Get());

    // The texts have no inverse: everything reads as 0.
    float value = 0.5f;
    EXPECT_TRUE(delegate.StringToValue(AAX_CString("50/100"), &value));
    EXPECT_EQ(0.0f, value);

    const std::unique_ptr<AAX_IDisplayDelegate<float>> clone(delegate.Clone());
    EXPECT_EQ("75/100", text(*clone, 0.75f));
}

TEST(VSTDisplayDelegate, WithTheUnitDecoratorAnEmptyTextStillCarriesTheUnit)
{
    const AAX_VSTParameterTextRow row = probedTexts();
    const AAX_CUnitDisplayDelegateDecorator<float> decorated(AAX_CVSTDisplayDelegate<float>(&row),
                                                             AAX_CString(" dB"));
    EXPECT_EQ("10/100 dB", text(decorated, 0.1f));
    EXPECT_EQ(" dB", text(decorated, 2.0f));
}

TEST(LinearTaperNoRounding, MapsLinearlyWithoutAGridAndKeepsItsBounds)
{
    const AAX_CLinearTaperNoRounding<float, 0> unit(0.0f, 1.0f);
    EXPECT_EQ(0.5f, unit.NormalizedToReal(0.5));
    EXPECT_EQ(0.123456f, unit.NormalizedToReal(0.123456));
    EXPECT_EQ(1.0f, unit.NormalizedToReal(1.7));
    EXPECT_EQ(0.0f, unit.NormalizedToReal(-0.2));
    EXPECT_EQ(1.0f, unit.NormalizedToReal(1.0e300));
    EXPECT_EQ(0.0f, unit.NormalizedToReal(-1.0e300));
    EXPECT_TRUE(std::isnan(unit.NormalizedToReal(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(1.0, unit.RealToNormalized(1.2f));
    EXPECT_EQ(0.0, unit.RealToNormalized(-1.0f));
    EXPECT_DOUBLE_EQ(0.25, unit.RealToNormalized(0.25f));
    EXPECT_EQ(0.0f, unit.GetMinimumValue());
    EXPECT_EQ(1.0f, unit.GetMaximumValue());

    const AAX_CLinearTaperNoRounding<float, 0> wide(2.0f, 6.0f);
    EXPECT_EQ(3.0f, wide.NormalizedToReal(0.25));
    EXPECT_EQ(0.75, wide.RealToNormalized(5.0f));
    const std::unique_ptr<AAX_ITaperDelegate<float>> clone(wide.Clone());
    EXPECT_EQ(6.0f, clone->GetMaximumValue());
    EXPECT_EQ(2.0f, clone->ConstrainRealValue(-9.0f));

    const AAX_CLinearTaperNoRounding<float, 0> empty(3.0f, 3.0f);
    EXPECT_EQ(0.0, empty.RealToNormalized(3.0f));
}

TEST(StemFormats, ChannelCountsArrangementsAndTheFormatsThePlugInDeclares)
{
    EXPECT_EQ(1, channelCountForStemFormat(AAX_eStemFormat_Mono));
    EXPECT_STREQ("M", speakerArrangementForStemFormat(AAX_eStemFormat_Mono));
    EXPECT_EQ(2, channelCountForStemFormat(AAX_eStemFormat_Stereo));
    EXPECT_STREQ("L R", speakerArrangementForStemFormat(AAX_eStemFormat_Stereo));
    EXPECT_EQ(4, channelCountForStemFormat(AAX_eStemFormat_LCRS));
    EXPECT_STREQ("L C R S", speakerArrangementForStemFormat(AAX_eStemFormat_LCRS));
    EXPECT_EQ(8, channelCountForStemFormat(AAX_eStemFormat_7_1_SDDS));
    EXPECT_STREQ("L C R Lss Rss Lsr Rsr LFE", speakerArrangementForStemFormat(AAX_eStemFormat_7_1_DTS));
    EXPECT_EQ(0, channelCountForStemFormat(AAX_eStemFormat_None));
    EXPECT_EQ(nullptr, speakerArrangementForStemFormat(AAX_eStemFormat_None));
    EXPECT_EQ(0, channelCountForStemFormat(0x00000002));

    EXPECT_EQ(AAX_eStemFormat_None, stemFormatForChannelCount(0));
    EXPECT_EQ(AAX_eStemFormat_Mono, stemFormatForChannelCount(1));
    EXPECT_EQ(AAX_eStemFormat_Stereo, stemFormatForChannelCount(2));
    EXPECT_EQ(AAX_eStemFormat_Quad, stemFormatForChannelCount(4));
    EXPECT_EQ(AAX_eStemFormat_7_0_DTS, stemFormatForChannelCount(7));
    EXPECT_EQ(AAX_eStemFormat_7_1_DTS, stemFormatForChannelCount(8));
    EXPECT_EQ(AAX_eStemFormat_None, stemFormatForChannelCount(9));
    EXPECT_EQ(AAX_eStemFormat_None, stemFormatForChannelCount(-1));
}
