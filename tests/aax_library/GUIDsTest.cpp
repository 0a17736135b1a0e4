#include "aax_library/AAX_GUIDs.h"

#include <gtest/gtest.h>

#include <cstring>

// The host compares identifiers as raw 16-byte records, so the in-memory bytes must be the
// registry form's: first group little-endian 32-bit, next two little-endian 16-bit, then 8 bytes.
TEST(GUIDs, ComponentFactoryIdentifierHasTheRegistryByteLayout)
{
    // {382B6A96-7FD0-11D6-BCFE-00306542A024}
    const uint8_t expected[16] = {0x96, 0x6A, 0x2B, 0x38, 0xD0, 0x7F, 0xD6, 0x11,
                                  0xBC, 0xFE, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24};
    uint8_t actual[16];
    std::memcpy(actual, &IID_IACFComponentFactory, sizeof actual);
    EXPECT_EQ(0, std::memcmp(expected, actual, sizeof expected));
}

TEST(GUIDs, IdentifiersDifferingInTheLastByteAreNotEqual)
{
    acfIID other = IID_IAAXEffectParametersV1;
    EXPECT_EQ(other, IID_IAAXEffectParametersV1);
    other.Data4[7] ^= 1;
    EXPECT_NE(other, IID_IAAXEffectParametersV1);
    // Two identifiers of the data model that share no field.
    EXPECT_NE(IID_IAAXEffectParametersV1, IID_IAAXEffectParametersV2);
}
