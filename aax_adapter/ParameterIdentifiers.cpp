#include "aax_adapter/ParameterIdentifiers.h"

#include "aax_library/AAX_CEffectParameters.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

namespace AAXClasses
{

bool isMasterBypass(AAX_CParamID id)
{
    return id != nullptr && std::strcmp(id, cDefaultMasterBypassID) == 0;
}

int64_t leadingDecimal(const char* text)
{
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    while (*text >= '0' && *text <= '9')
    {
        value = std::min<int64_t>(value * 10 + (*text - '0'), kLimit);
        ++text;
    }
    return negative ? -value : value;
}

IndexText::IndexText(int index)
{
    char digits[kCapacity];
    int count = 0;
    unsigned value = static_cast<unsigned>(std::max(index, 0));
    do
    {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && count < kCapacity - 1);
    for (int i = 0; i < count; ++i)
        text[i] = digits[count - 1 - i];
    text[count] = '\0';
}

} // namespace AAXClasses
