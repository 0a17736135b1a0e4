#pragma once
// AAX stem formats and what they mean for the processor: channel counts and speaker-arrangement
// texts. A stem format keeps its format index in the upper 16 bits and its channel count in the
// lower 16. The plug-in description and the data-model object both read these tables.

#include "aax_library/AAX_StemFormats.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>
#include <string>

namespace AAXClasses
{

// [any thread] Channels of a listed stem format; 0 for any other value (None included).
int32_t channelCountForStemFormat(AAX_EStemFormat stemFormat);

// [any thread] The speaker-arrangement text of a listed stem format ("L R" for stereo); null for
// any other value. The text is static.
const char* speakerArrangementForStemFormat(AAX_EStemFormat stemFormat);

// [any thread] The name of a listed stem format ("mono", "stereo", "5.1", "7.1-dts"); null for any
// other value. The text is static.
const char* stemFormatName(AAX_EStemFormat stemFormat);

// [any thread] The listed stem format of a name, compared exactly; None for any other text.
AAX_EStemFormat stemFormatForName(const std::string& name);

// [any thread] The stem format the plug-in declares for a channel count: 4 channels are Quad, 7 and
// 8 the DTS layouts; counts outside 0 .. 8 (and 0) give None.
AAX_EStemFormat stemFormatForChannelCount(int32_t channelCount);

} // namespace AAXClasses
