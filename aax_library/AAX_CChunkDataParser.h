#pragma once
// Named, typed values to and from the data bytes of a plug-in chunk. The byte layout is stored in
// the host's saved sessions and must stay readable as written by earlier versions:
//   01 01 01 01, then per entry, each item starting at a multiple of 4:
//   key = type prefix ("f_", "l_", "d_", "s_", "r_") + name + 0, zero-padded to a multiple of 4;
//   value = big-endian float/int32 (4), double (8), int16 (2 + 2 zero bytes), or text + 0 padded
//   to a multiple of 4.

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>
#include <vector>

class AAX_CChunkDataParser
{
public:
    // Entry types as the reader tells them apart by the key's first character.
    enum EntryType : int32_t
    {
        kType_None = 0,
        kType_Float = 1,
        kType_Int32 = 2,
        kType_Double = 3,
        kType_Int16 = 4,
        kType_String = 5
    };

    // The result of GetChunkData when the entries do not fit the chunk's data bytes.
    static constexpr AAX_Result kChunkOverflow = -333;

    AAX_CChunkDataParser();
    virtual ~AAX_CChunkDataParser();

    // Removes every entry; the last-found index and the chunk version become -1.
    void Clear();

    // Append an entry (a null name counts as empty). An earlier entry of the same name stays.
    void AddDouble(const char* name, double value);
    void AddInt32(const char* name, int32_t value);
    void AddString(const char* name, const AAX_IString& value);

    // The data size of the current entries, at least 4; negative when it would not fit 32 bits.
    int32_t GetChunkDataSize() const;

    // Writes fSize and the data bytes of chunk (the caller owns the other header fields). Returns
    // 0, a size below 1 as it is, or kChunkOverflow.
    AAX_Result GetChunkData(AAX_SPlugInChunk* chunk) const;
    // As above, but writes no more than capacity data bytes: fSize becomes the smaller of the data
    // size and capacity, and entries that would pass it end the writing with kChunkOverflow.
    AAX_Result GetChunkData(AAX_SPlugInChunk* chunk, int32_t capacity) const;

    // Replaces the entries with those read from chunk and records its fVersion. Reads no byte
    // outside the chunk's fSize data bytes; a damaged chunk keeps the entries read before the damage.
    void LoadChunk(const AAX_SPlugInChunk* chunk);

    // Look the name up (a null name counts as empty); true and the value written only when an
    // entry is found and has the asked type.
    bool GetDoubleValue(const char* name, double* value);
    bool GetInt32Value(const char* name, int32_t* value);
    bool GetStringValue(const char* name, AAX_IString* value);

    // The fVersion of the last chunk loaded; -1 after construction and Clear.
    int32_t GetChunkVersion() const { return mChunkVersion; }
    int32_t GetNumEntries() const { return static_cast<int32_t>(mDataValues.size()); }
    // The type of entry index, kType_None when out of range.
    EntryType GetEntryType(int32_t index) const;
    bool IsEmpty() const { return mDataValues.empty(); }

protected:
    struct DataValue
    {
        int32_t mDataType = kType_None;
        AAX_CString mDataName;
        // A double as its bit pattern, a float as its 32 bits in the low half, a 32-bit integer in
        // the low half, a 16-bit integer in the low quarter.
        int64_t mIntValue = 0;
        AAX_CString mStringValue;
    };

    // Position of the entry called name, searching on from the last hit so that reading entries in
    // the order they were written finds each in one step; -1 when absent.
    int32_t FindName(const AAX_CString& name);
    // The entry called name (found as FindName finds it) when it has the given type, else null.
    const DataValue* FindEntry(const char* name, EntryType type);
    // A new last entry of the given name and type, its value still zero.
    DataValue& AppendEntry(const char* name, EntryType type);

    int32_t mLastFoundIndex;
    int32_t mChunkVersion;
    std::vector<DataValue> mDataValues;
};
