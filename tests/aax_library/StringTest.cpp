#include "aax_library/AAX_CString.h"
#include "host_kit/HostString.h"

#include <gtest/gtest.h>

TEST(String, NullTextGivesTheEmptyStringEverywhere)
{
    AAX_CString fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(0u, fromNull.Length());
    ASSERT_NE(nullptr, fromNull.Get());
    EXPECT_STREQ("", fromNull.Get());

    AAX_CString text("abc");
    text.Set(nullptr);
    EXPECT_EQ(0u, text.Length());
    text = "abc";
    static_cast<AAX_IString&>(text) = static_cast<const char*>(nullptr);
    EXPECT_STREQ("", text.Get());
    EXPECT_EQ(0xFFFFFFFEu, text.MaxLength());
}

TEST(String, SubStringTakesAtMostTheRequestedBytes)
{
    AAX_CString out("unchanged");
    AAX_CString("abcdef").SubString(0, 3, &out);
    EXPECT_STREQ("abc", out.Get());
    AAX_CString("ab").SubString(0, 3, &out);
    EXPECT_STREQ("ab", out.Get());
    AAX_CString("abcdef").SubString(4, 10, &out);
    EXPECT_STREQ("ef", out.Get());
    // A start at the very end is an empty piece; beyond the end is answered the same way rather
    // than read past the text.
    AAX_CString("abc").SubString(3, 2, &out);
    EXPECT_STREQ("", out.Get());
    AAX_CString("abc").SubString(7, 2, &out);
    EXPECT_STREQ("", out.Get());
    AAX_CString("abc").SubString(0, 2, nullptr);
}

TEST(String, TextsThatDifferOnlyInLengthAreNotEqual)
{
    EXPECT_FALSE(AAX_CString("ab") == AAX_CString("abc"));
    EXPECT_FALSE(AAX_CString("abc") == AAX_CString("ab"));
    EXPECT_TRUE(AAX_CString("abc") == AAX_CString("abc"));
    EXPECT_FALSE(AAX_CString("abc") == AAX_CString("abC"));
    EXPECT_TRUE(AAX_CString("") == AAX_CString(static_cast<const char*>(nullptr)));
}

TEST(String, CopiesTextAcrossTheInterfaceFromAHostString)
{
    // The host hands in its own string implementation; assignment goes through the interface.
    testhost::HostString hostText("from the host");
    AAX_CString text;
    static_cast<AAX_IString&>(text) = static_cast<const AAX_IString&>(hostText);
    EXPECT_STREQ("from the host", text.Get());
    EXPECT_EQ(13u, text.Length());

    // And the module writes into the host's string the same way.
    static_cast<AAX_IString&>(hostText) = static_cast<const AAX_IString&>(AAX_CString("back"));
    EXPECT_EQ("back", hostText.Text());

    // Self-assignment keeps the text.
    AAX_IString& self = text;
    self = static_cast<const AAX_IString&>(text);
    EXPECT_STREQ("from the host", text.Get());
}
