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
    // The name an identity file and the reference host's layout names use.
    const char* name;
};

constexpr StemFormatEntry kStemFormats[] = {
    {AAX_eStemFormat_Mono, 1, "M", "mono"},
    {AAX_eStemFormat_Stereo, 2, "L R", "stereo"},
    {AAX_eStemFormat_LCR, 3, "L C R", "lcr"},
    {AAX_eStemFormat_LCRS, 4, "L C R S", "lcrs"},
    {AAX_eStemFormat_Quad, 4, "L R Ls Rs", "quad"},
    {AAX_eStemFormat_5_0, 5, "L C R Ls Rs", "5.0"},
    {AAX_eStemFormat_5_1, 6, "L C R Ls Rs LFE", "5.1"},
    {AAX_eStemFormat_6_0, 6, "L C R Ls Cs Rs", "6.0"},
    {AAX_eStemFormat_6_1, 7, "L C R Ls Cs Rs LFE", "6.1"},
    {AAX_eStemFormat_7_0_SDDS, 7, "L Lc C Rc R Ls Rs", "7.0-sdds"},
    {AAX_eStemFormat_7_1_SDDS, 8, "L Lc C Rc R Ls Rs LFE", "7.1-sdds"},
    {AAX_eStemFormat_7_0_DTS, 7, "L C R Lss Rss Lsr Rsr", "7.0-dts"},
    {AAX_eStemFormat_7_1_DTS, 8, "L C R Lss Rss Lsr Rsr LFE", "7.1-dts"},
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

const char* stemFormatName(AAX_EStemFormat stemFormat)
{
    const StemFormatEntry* entry = findStemFormat(stemFormat);
    return entry != nullptr ? entry->name : nullptr;
}

AAX_EStemFormat stemFormatForName(const std::string& name)
{
    for (const StemFormatEntry& entry : kStemFormats)
        if (name == entry.name)
            return entry.stemFormat;
    return AAX_eStemFormat_None;
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
