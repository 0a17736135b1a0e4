#include "aax_library/AAX_CChunkDataParser.h"

#include "aax_library/AAX_CHostServices.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
constexpr uint8_t kMarker[4] = {1, 1, 1, 1};
constexpr int64_t kMarkerSize = 4;
constexpr int64_t kAlignment = 4;
constexpr int64_t kPrefixSize = 2;
// Keys longer than this are not read; parameter identifiers are far shorter.
constexpr int64_t kMaxKeyBytes = 255;
// High priority: a lost chunk entry should show in the host's normal log.
constexpr int32_t kOverflowTracePriority = AAX_eTracePriorityHost_High;

constexpr char kPrefixSeparator = '_';

// How each entry type is written: the key's prefix character, the bytes of the number itself, and
// the bytes its value takes with padding (text has neither: its length varies).
struct EntryLayout
{
    int32_t type;
    char prefix;
    int numberBytes;
    int64_t valueBytes;
};
constexpr EntryLayout kEntryLayouts[] = {
    {AAX_CChunkDataParser::kType_Float, 'f', 4, 4},  {AAX_CChunkDataParser::kType_Int32, 'l', 4, 4},
    {AAX_CChunkDataParser::kType_Double, 'd', 8, 8}, {AAX_CChunkDataParser::kType_Int16, 's', 2, 4},
    {AAX_CChunkDataParser::kType_String, 'r', 0, 0},
};

// The layout of a type or of a key's prefix; null for anything unknown.
const EntryLayout* LayoutOfType(int32_t type)
{
    for (const EntryLayout& layout : kEntryLayouts)
        if (layout.type == type)
            return &layout;
    return nullptr;
}
const EntryLayout* LayoutOfPrefix(char prefix)
{
    for (const EntryLayout& layout : kEntryLayouts)
        if (layout.prefix == prefix)
            return &layout;
    return nullptr;
}

int64_t RoundUp4(int64_t n)
{
    return (n + kAlignment - 1) / kAlignment * kAlignment;
}

void WriteBigEndian(uint8_t* out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
    {
        out[i] = static_cast<uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

uint64_t ReadBigEndian(const uint8_t* in, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | in[i];
    return value;
}

} // namespace

AAX_CChunkDataParser::AAX_CChunkDataParser() : mLastFoundIndex(-1), mChunkVersion(-1) {}

AAX_CChunkDataParser::~AAX_CChunkDataParser() = default;

void AAX_CChunkDataParser::Clear()
{
    mDataValues.clear();
    mLastFoundIndex = -1;
    mChunkVersion = -1;
}

AAX_CChunkDataParser::DataValue& AAX_CChunkDataParser::AppendEntry(const char* name, EntryType type)
{
    DataValue& entry = mDataValues.emplace_back();
    entry.mDataType = type;
    entry.mDataName = AAX_CString(name);
    return entry;
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    AppendEntry(name, kType_Double).mIntValue = static_cast<int64_t>(bits);
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value)
{
    AppendEntry(name, kType_Int32).mIntValue = static_cast<int64_t>(static_cast<uint32_t>(value));
}

void AAX_CChunkDataParser::AddString(const char* name, const AAX_IString& value)
{
    AppendEntry(name, kType_String).mStringValue = AAX_CString(value.Get());
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    int64_t size = kMarkerSize;
    for (const DataValue& entry : mDataValues)
    {
        // Entries of an unknown type (only ever read from a damaged chunk) are not written back.
        const EntryLayout* const layout = LayoutOfType(entry.mDataType);
        if (layout == nullptr)
            continue;
        size += RoundUp4(kPrefixSize + entry.mDataName.Length() + 1);
        if (entry.mDataType == kType_String)
            size += RoundUp4(static_cast<int64_t>(entry.mStringValue.Length()) + 1);
        else
            size += layout->valueBytes;
        if (size > std::numeric_limits<int32_t>::max())
            return -1;
    }
    return static_cast<int32_t>(size);
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const
{
    return GetChunkData(chunk, std::numeric_limits<int32_t>::max());
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk, int32_t capacity) const
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    const int32_t dataSize = GetChunkDataSize();
    if (dataSize < 1)
    {
        chunk->fSize = dataSize;
        return dataSize;
    }
    const int64_t limit = std::min<int64_t>(dataSize, std::max<int32_t>(capacity, 0));
    chunk->fSize = static_cast<int32_t>(limit);

    uint8_t* const data = reinterpret_cast<uint8_t*>(chunk->fData);
    std::memset(data, 0, static_cast<size_t>(limit));

    const auto overflow = []
    {
        AAX_CHostServices::Trace(kOverflowTracePriority, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                                 "aborting: chunk data will overflow buffer");
        return kChunkOverflow;
    };

    if (limit < kMarkerSize)
        return overflow();
    std::memcpy(data, kMarker, sizeof kMarker);
    int64_t position = kMarkerSize;

    for (const DataValue& entry : mDataValues)
    {
        const EntryLayout* const layout = LayoutOfType(entry.mDataType);
        if (layout == nullptr)
            continue;
        const int64_t nameLength = entry.mDataName.Length();
        const int64_t valueStart = RoundUp4(position + kPrefixSize + nameLength + 1);
        const bool isString = entry.mDataType == kType_String;
        const int64_t valueBytes =
            isString ? static_cast<int64_t>(entry.mStringValue.Length()) + 1 : layout->valueBytes;
        // The whole item, padding included, must lie within the promised size.
        if (valueStart + valueBytes > limit)
            return overflow();

        data[position] = static_cast<uint8_t>(layout->prefix);
        data[position + 1] = static_cast<uint8_t>(kPrefixSeparator);
        std::memcpy(data + position + kPrefixSize, entry.mDataName.Get(), static_cast<size_t>(nameLength));
        // The key's zero byte and its padding are already zero.

        // The number's low bytes, as many as its type has; the padding is already zero.
        uint8_t* const value = data + valueStart;
        if (isString)
            std::memcpy(value, entry.mStringValue.Get(), static_cast<size_t>(valueBytes - 1));
        else
            WriteBigEndian(value, static_cast<uint64_t>(entry.mIntValue), layout->numberBytes);
        position = valueStart + (isString ? RoundUp4(valueBytes) : valueBytes);
    }
    return AAX_SUCCESS;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk)
{
    mDataValues.clear();
    mLastFoundIndex = -1;
    if (chunk == nullptr)
    {
        mChunkVersion = -1;
        return;
    }
    mChunkVersion = chunk->fVersion;

    // Every read below is bounded by size: a host or a saved session may hand over anything.
    const int64_t size = chunk->fSize;
    const uint8_t* const data = reinterpret_cast<const uint8_t*>(chunk->fData);
    if (size <= kMarkerSize || std::memcmp(data, kMarker, sizeof kMarker) != 0)
        return;

    int64_t position = kMarkerSize;
    while (position < size)
    {
        const int64_t keyLimit = std::min(size - position, kMaxKeyBytes);
        const uint8_t* const key = data + position;
        const void* const keyEnd = std::memchr(key, 0, static_cast<size_t>(keyLimit));
        if (keyEnd == nullptr)
            return;
        const int64_t keyLength = static_cast<const uint8_t*>(keyEnd) - key;
        const int64_t valueStart = RoundUp4(position + keyLength + 1);

        DataValue entry;
        if (keyLength > kPrefixSize)
            entry.mDataName = AAX_CString(reinterpret_cast<const char*>(key + kPrefixSize));

        int64_t next = valueStart;
        const uint8_t* const value = data + valueStart;
        const EntryLayout* const layout = LayoutOfPrefix(static_cast<char>(key[0]));
        if (layout != nullptr && layout->type != kType_String)
        {
            if (valueStart + layout->numberBytes > size)
                return;
            entry.mDataType = layout->type;
            entry.mIntValue = static_cast<int64_t>(ReadBigEndian(value, layout->numberBytes));
            next = valueStart + layout->valueBytes;
        }
        else if (layout != nullptr)
        {
            if (valueStart >= size)
                return;
            const void* const textEnd = std::memchr(value, 0, static_cast<size_t>(size - valueStart));
            if (textEnd == nullptr)
                return;
            const int64_t textLength = static_cast<const uint8_t*>(textEnd) - value;
            entry.mDataType = kType_String;
            entry.mStringValue = AAX_CString(reinterpret_cast<const char*>(value));
            next = valueStart + RoundUp4(textLength + 1);
        }
        // An unknown key stays as an untyped entry, and the next key is looked for right here.
        mDataValues.push_back(std::move(entry));
        position = next;
    }
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name)
{
    const int32_t count = static_cast<int32_t>(mDataValues.size());
    if (mLastFoundIndex >= count - 1)
        mLastFoundIndex = -1;
    for (int32_t i = mLastFoundIndex + 1; i < count; ++i)
    {
        if (mDataValues[static_cast<size_t>(i)].mDataName == name)
            return mLastFoundIndex = i;
    }
    for (int32_t i = 0; i <= mLastFoundIndex; ++i)
    {
        if (mDataValues[static_cast<size_t>(i)].mDataName == name)
            return mLastFoundIndex = i;
    }
    return -1;
}

const AAX_CChunkDataParser::DataValue* AAX_CChunkDataParser::FindEntry(const char* name, EntryType type)
{
    const int32_t index = FindName(AAX_CString(name));
    if (index < 0)
        return nullptr;
    const DataValue& entry = mDataValues[static_cast<size_t>(index)];
    return entry.mDataType == type ? &entry : nullptr;
}

bool AAX_CChunkDataParser::GetDoubleValue(const char* name, double* value)
{
    const DataValue* const entry = FindEntry(name, kType_Double);
    if (entry == nullptr || value == nullptr)
        return false;
    const uint64_t bits = static_cast<uint64_t>(entry->mIntValue);
    std::memcpy(value, &bits, sizeof bits);
    return true;
}

bool AAX_CChunkDataParser::GetInt32Value(const char* name, int32_t* value)
{
    const DataValue* const entry = FindEntry(name, kType_Int32);
    if (entry == nullptr || value == nullptr)
        return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(entry->mIntValue & 0xFFFFFFFF));
    return true;
}

bool AAX_CChunkDataParser::GetStringValue(const char* name, AAX_IString* value)
{
    const DataValue* const entry = FindEntry(name, kType_String);
    if (entry == nullptr || value == nullptr)
        return false;
    value->Set(entry->mStringValue.Get());
    return true;
}

AAX_CChunkDataParser::EntryType AAX_CChunkDataParser::GetEntryType(int32_t index) const
{
    if (index < 0 || index >= GetNumEntries())
        return kType_None;
    return static_cast<EntryType>(mDataValues[static_cast<size_t>(index)].mDataType);
}
