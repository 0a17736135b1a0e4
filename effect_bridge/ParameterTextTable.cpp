#include "effect_bridge/ParameterTextTable.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
// What an entry shows until its parameter has been probed.
constexpr const char* kUnprobedText = "---";
} // namespace

void ParameterTextTable::allocate(int32_t numParameters)
{
    Row unprobed{};
    for (Entry& text : unprobed)
        std::strncpy(text.data(), kUnprobedText, text.size());
    try
    {
        rows.assign(static_cast<size_t>(std::max<int32_t>(0, numParameters)), unprobed);
    }
    catch (const std::bad_alloc&)
    {
        rows.clear();
    }
}

void ParameterTextTable::store(int32_t parameter, int step, const char* text)
{
    if (parameter < 0 || static_cast<size_t>(parameter) >= rows.size() || step < 0 || step >= kSteps ||
        text == nullptr)
        return;
    Entry& destination = rows[static_cast<size_t>(parameter)][static_cast<size_t>(step)];
    const size_t length = strnlen(text, static_cast<size_t>(kCharacters));
    std::memcpy(destination.data(), text, length);
    destination[length] = '\0';
}

const ParameterTextTable::Row* ParameterTextTable::row(int32_t parameter) const
{
    if (parameter < 0 || static_cast<size_t>(parameter) >= rows.size())
        return nullptr;
    return &rows[static_cast<size_t>(parameter)];
}

const char* ParameterTextTable::entry(int32_t parameter, int step) const
{
    const Row* texts = row(parameter);
    if (texts == nullptr || step < 0 || step >= kSteps)
        return "";
    return (*texts)[static_cast<size_t>(step)].data();
}
