#pragma once
// A text from the module or its effect in double quotes: the bytes as they are (the effect's own
// characters, degree signs included), with quotes, backslashes and control bytes escaped so a text
// can neither end its quotes early nor move a terminal's cursor, and a JSON report stays valid.

#include <string>

namespace ombrelhost
{

// How a control byte is written inside the quotes.
enum class QuoteStyle
{
    Terminal, // \xHH, DEL included (terminals act on it too)
    Json,     // \u00hh for the bytes JSON forbids raw; DEL is plain text there
};

std::string QuotedText(const std::string& text, QuoteStyle style = QuoteStyle::Terminal);

} // namespace ombrelhost
