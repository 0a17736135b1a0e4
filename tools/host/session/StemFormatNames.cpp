#include "tools/host/session/StemFormatNames.h"

#include "aax_adapter/StemFormats.h"

#include <cstdio>

namespace ombrelhost
{

namespace
{

// The description's readable names; the names typed and written into identity files are the
// module's own (AAXClasses::stemFormatName).
struct DisplayedStemFormat
{
    AAX_EStemFormat format;
    const char* display;
};

constexpr DisplayedStemFormat kStemFormats[] = {
    {AAX_eStemFormat_Mono, "Mono"},         {AAX_eStemFormat_Stereo, "Stereo"},
    {AAX_eStemFormat_LCR, "LCR"},           {AAX_eStemFormat_LCRS, "LCRS"},
    {AAX_eStemFormat_Quad, "Quad"},         {AAX_eStemFormat_5_0, "5.0"},
    {AAX_eStemFormat_5_1, "5.1"},           {AAX_eStemFormat_6_0, "6.0"},
    {AAX_eStemFormat_6_1, "6.1"},           {AAX_eStemFormat_7_0_SDDS, "7.0 SDDS"},
    {AAX_eStemFormat_7_1_SDDS, "7.1 SDDS"}, {AAX_eStemFormat_7_0_DTS, "7.0 DTS"},
    {AAX_eStemFormat_7_1_DTS, "7.1 DTS"},
};

} // namespace

const std::vector<AAX_EStemFormat>& NamedStemFormats()
{
    static const std::vector<AAX_EStemFormat> formats = []
    {
        std::vector<AAX_EStemFormat> all;
        for (const DisplayedStemFormat& entry : kStemFormats)
            all.push_back(entry.format);
        return all;
    }();
    return formats;
}

std::optional<AAX_EStemFormat> StemFormatOfName(const std::string& name)
{
    const AAX_EStemFormat format = AAXClasses::stemFormatForName(name);
    if (format == AAX_eStemFormat_None)
        return std::nullopt;
    return format;
}

std::string NameOfStemFormat(int32_t stemFormat)
{
    const char* name = AAXClasses::stemFormatName(static_cast<AAX_EStemFormat>(stemFormat));
    return name != nullptr ? name : "";
}

std::string StemFormatName(int32_t stemFormat)
{
    for (const DisplayedStemFormat& entry : kStemFormats)
        if (entry.format == stemFormat)
            return entry.display;
    if (stemFormat == AAX_eStemFormat_None)
        return "None";
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(stemFormat));
    return text;
}

void SplitLayoutName(const std::string& layout, std::string& input, std::string& output)
{
    for (size_t dash = layout.find('-'); dash != std::string::npos; dash = layout.find('-', dash + 1))
        if (StemFormatOfName(layout.substr(0, dash)) && StemFormatOfName(layout.substr(dash + 1)))
        {
            input = layout.substr(0, dash);
            output = layout.substr(dash + 1);
            return;
        }
    if (StemFormatOfName(layout))
    {
        input = output = layout;
        return;
    }
    const size_t dash = layout.find('-');
    if (dash != std::string::npos && dash > 0 && dash + 1 < layout.size())
    {
        input = layout.substr(0, dash);
        output = layout.substr(dash + 1);
    }
    else
        input = output = layout;
}

std::string LayoutNameOf(const std::string& input, const std::string& output)
{
    return input == output ? input : input + "-" + output;
}

} // namespace ombrelhost
