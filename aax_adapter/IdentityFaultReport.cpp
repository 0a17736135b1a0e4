#include "aax_adapter/IdentityFaultReport.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cstdio>
#endif

namespace AAXClasses
{

void reportIdentityFault(const std::string& line)
{
    const std::string text = line + "\n";
#ifdef _WIN32
    OutputDebugStringA(text.c_str());
#else
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
#endif
}

} // namespace AAXClasses
