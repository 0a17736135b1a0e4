#include "tools/host/reports/QuotedText.h"

#include <cstdio>

namespace ombrelhost
{

std::string QuotedText(const std::string& text, QuoteStyle style)
{
    const bool json = style == QuoteStyle::Json;
    std::string quoted = "\"";
    for (const char character : text)
    {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\')
            quoted += std::string("\\") + character;
        else if (byte < 0x20 || (byte == 0x7F && !json))
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, json ? "\\u%04x" : "\\x%02X", byte);
            quoted += escaped;
        }
        else
            quoted += character;
    }
    return quoted + "\"";
}

} // namespace ombrelhost
