#pragma once
// AAX stem formats: the format index in the upper 16 bits, the channel count in the lower 16.

#include "aax_library/AAX_Types.h"

enum : AAX_EStemFormat
{
    AAX_eStemFormat_Mono = 0x00000001,
    AAX_eStemFormat_Stereo = 0x00010002,
    AAX_eStemFormat_LCR = 0x00020003,
    AAX_eStemFormat_LCRS = 0x00030004,
    AAX_eStemFormat_Quad = 0x00040004,
    AAX_eStemFormat_5_0 = 0x00050005,
    AAX_eStemFormat_5_1 = 0x00060006,
    AAX_eStemFormat_6_0 = 0x00070006,
    AAX_eStemFormat_6_1 = 0x00080007,
    AAX_eStemFormat_7_0_SDDS = 0x00090007,
    AAX_eStemFormat_7_1_SDDS = 0x000A0008,
    AAX_eStemFormat_7_0_DTS = 0x000B0007,
    AAX_eStemFormat_7_1_DTS = 0x000C0008,
    AAX_eStemFormat_None = static_cast<AAX_EStemFormat>(0xFF9C0000u),
};

// The channel count a stem format carries in its lower 16 bits, as a host decodes it.
constexpr int32_t AAX_STEM_FORMAT_CHANNEL_COUNT(AAX_EStemFormat stemFormat)
{
    return stemFormat & 0xFFFF;
}
