#pragma once
// AAX stem formats and what they mean for the processor: channel counts and speaker-arrangement
// texts. A stem format keeps its format index in the upper 16 bits and its channel count in the
// lower 16. The plug-in description and the data-model object both read these tables.

#include "aax_library/AAX_Types.h"

#include <cstdint>

namespace AAXClasses
{

constexpr AAX_EStemFormat AAX_eStemFormat_Mono = 0x00000001;
constexpr AAX_EStemFormat AAX_eStemFormat_Stereo = 0x00010002;
constexpr AAX_EStemFormat AAX_eStemFormat_LCR = 0x00020003;
constexpr AAX_EStemFormat AAX_eStemFormat_LCRS = 0x00030004;
constexpr AAX_EStemFormat AAX_eStemFormat_Quad = 0x00040004;
constexpr AAX_EStemFormat AAX_eStemFormat_5_0 = 0x00050005;
constexpr AAX_EStemFormat AAX_eStemFormat_5_1 = 0x00060006;
constexpr AAX_EStemFormat AAX_eStemFormat_6_0 = 0x00070006;
constexpr AAX_EStemFormat AAX_eStemFormat_6_1 = 0x00080007;
constexpr AAX_EStemFormat AAX_eStemFormat_7_0_SDDS = 0x00090007;
constexpr AAX_EStemFormat AAX_eStemFormat_7_1_SDDS = 0x000A0008;
constexpr AAX_EStemFormat AAX_eStemFormat_7_0_DTS = 0x000B0007;
constexpr AAX_EStemFormat AAX_eStemFormat_7_1_DTS = 0x000C0008;
constexpr AAX_EStemFormat AAX_eStemFormat_None = static_cast<AAX_EStemFormat>(0xFF9C0000u);

// [any thread] Channels of a listed stem format; 0 for any other value (None included).
int32_t channelCountForStemFormat(AAX_EStemFormat stemFormat);

// [any thread] The speaker-arrangement text of a listed stem format ("L R" for stereo); null for
// any other value. The text is static.
const char* speakerArrangementForStemFormat(AAX_EStemFormat stemFormat);

// [any thread] The stem format the plug-in declares for a channel count: 4 channels are Quad, 7 and
// 8 the DTS layouts; counts outside 0 .. 8 (and 0) give None.
AAX_EStemFormat stemFormatForChannelCount(int32_t channelCount);

} // namespace AAXClasses
