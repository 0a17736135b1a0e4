#pragma once
// Where a fault of the bundle's identity file is written: standard error on Linux, the debugger's
// output on Windows (hosts there have no console), one line each.

#include <string>

namespace AAXClasses
{

// [host thread] Writes line and a line end in one piece.
void reportIdentityFault(const std::string& line);

} // namespace AAXClasses
