// The identifiers of the published parameters: written as plain decimal text and read back by
// atoi's rules, without atoi's overflow.

#include "aax_adapter/ParameterIdentifiers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using AAXClasses::IndexText;
using AAXClasses::isMasterBypass;
using AAXClasses::leadingDecimal;

TEST(ParameterIdentifiers, IndicesAreWrittenAsPlainDecimalsAndReadBack)
{
    for (int index : {0, 7, 12, 100, 65535, INT_MAX})
    {
        const IndexText identifier(index);
        EXPECT_EQ(std::to_string(index), identifier.text);
        EXPECT_EQ(index, leadingDecimal(identifier.text));
    }
}

TEST(ParameterIdentifiers, ReadingFollowsAtoiButHoldsHugeNumbersOnePastTheLargestIndex)
{
    EXPECT_EQ(12, leadingDecimal("  +12abc"));
    EXPECT_EQ(-3, leadingDecimal("\t-3"));
    EXPECT_EQ(0, leadingDecimal("abc"));
    EXPECT_EQ(0, leadingDecimal(""));
    EXPECT_EQ(int64_t{INT_MAX} + 1, leadingDecimal("99999999999999999999999"));
    EXPECT_EQ(-(int64_t{INT_MAX} + 1), leadingDecimal("-99999999999999999999999"));
}

TEST(ParameterIdentifiers, OnlyTheExactBypassIdentifierIsTheBypass)
{
    EXPECT_TRUE(isMasterBypass("MasterBypassID"));
    EXPECT_FALSE(isMasterBypass("MasterBypassID "));
    EXPECT_FALSE(isMasterBypass("MasterBypass"));
    EXPECT_FALSE(isMasterBypass("0"));
    EXPECT_FALSE(isMasterBypass(nullptr));
}
