#pragma once
// A text from the module or its effect, quoted for a terminal: the bytes as they are (the effect's
// own characters, degree signs included), with quotes, backslashes and control bytes escaped so a
// text can neither end its quotes early nor move the cursor.

#include <string>

namespace ombrelhost
{

std::string QuotedText(const std::string& text);

} // namespace ombrelhost
