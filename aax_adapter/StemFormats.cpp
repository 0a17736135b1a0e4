#include "aax_adapter/StemFormats.h"

namespace AAXClasses
{

namespace
{

struct StemFormatEntry
{
    AAX_EStemFormat stemFormat;
    int32_t channelCount;
    const char* speakerArrangement;
};

constexpr StemFormatEntry kStemFormats[] = {
    {AAX_eStemFormat_Mono, 1, "M"},
    {AAX_eStemFormat_Stereo, 2, "L R"},
    {AAX_eStemFormat_LCR, 3, "L C R"},
    {AAX_eStemFormat_LCRS, 4, "L C R S"},
    {AAX_eStemFormat_Quad, 4, "L R Ls Rs"},
    {AAX_eStemFormat_5_0, 5, "L C R Ls Rs"},
    {AAX_eStemFormat_5_1, 6, "L C R Ls Rs LFE"},
    {AAX_eStemFormat_6_0, 6, "L C R Ls Cs Rs"},
    {AAX_eStemFormat_6_1, 7, "L C R Ls Cs Rs LFE"},
    {AAX_eStemFormat_7_0_SDDS, 7, "L Lc C Rc R Ls Rs"},
    {AAX_eStemFormat_7_1_SDDS, 8, "L Lc C Rc R Ls Rs LFE"},
    {AAX_eStemFormat_7_0_DTS, 7, "L C R Lss Rss Lsr Rsr"},
    {AAX_eStemFormat_7_1_DTS, 8, "L C R Lss Rss Lsr Rsr LFE"},
};

// Indexed by channel count.
constexpr AAX_EStemFormat kStemFormatForCount[] = {
    AAX_eStemFormat_None, AAX_eStemFormat_Mono,    AAX_eStemFormat_Stereo,
    AAX_eStemFormat_LCR,  AAX_eStemFormat_Quad,    AAX_eStemFormat_5_0,
    AAX_eStemFormat_5_1,  AAX_eStemFormat_7_0_DTS, AAX_eStemFormat_7_1_DTS,
};

const StemFormatEntry* findStemFormat(AAX_EStemFormat stemFormat)
{
    for (const StemFormatEntry& entry : kStemFormats)
        if (entry.stemFormat == stemFormat)
            return &entry;
    return nullptr;
}

} // namespace

int32_t channelCountForStemFormat(AAX_EStemFormat stemFormat)
{
    const StemFormatEntry* entry = findStemFormat(stemFormat);
    return entry != nullptr ? entry->channelCount : 0;
}

const char* speakerArrangementForStemFormat(AAX_EStemFormat stemFormat)
{
    const StemFormatEntry* entry = findStemFormat(stemFormat);
    return entry != nullptr ? entry->speakerArrangement : nullptr;
}

AAX_EStemFormat stemFormatForChannelCount(int32_t channelCount)
{
    constexpr int32_t kListedCounts =
        static_cast<int32_t>(sizeof(kStemFormatForCount) / sizeof(kStemFormatForCount[0]));
    if (channelCount < 0 || channelCount >= kListedCounts)
        return AAX_eStemFormat_None;
    return kStemFormatForCount[channelCount];
}

} // namespace AAXClasses
