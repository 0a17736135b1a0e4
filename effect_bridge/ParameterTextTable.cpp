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
        textCounts.assign(rows.size(), 0);
    }
    catch (const std::bad_alloc&)
    {
        rows.clear();
        textCounts.clear();
    }
}

void ParameterTextTable::setTextCount(int32_t parameter, int32_t count)
{
    if (parameter >= 0 && static_cast<size_t>(parameter) < textCounts.size())
        textCounts[static_cast<size_t>(parameter)] = count;
}

bool ParameterTextTable::isStepped(int32_t parameter) const
{
    if (parameter < 0 || static_cast<size_t>(parameter) >= textCounts.size())
        return false;
    const int32_t count = textCounts[static_cast<size_t>(parameter)];
    return count >= 2 && count <= kMaxSteppedTexts;
}

int ParameterTextTable::entryOf(float value)
{
    const float scaled = value * static_cast<float>(kSteps - 1);
    // The range test comes before the conversion to an index: a NaN or a far-out value has no
    // integer form.
    if (!(scaled > -1.0f && scaled < static_cast<float>(kSteps)))
        return -1;
    const int entry = static_cast<int>(scaled);
    return entry >= 0 && entry < kSteps ? entry : -1;
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
