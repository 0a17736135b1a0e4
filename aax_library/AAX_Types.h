#pragma once
// Scalar types and plain records shared by the module and its host across the
// binary interface. Widths and layouts are fixed: both sides compile against these declarations.

#include "aax_library/AAX_Errors.h"

#include <cstdint>

using AAX_CBoolean = uint8_t;
using AAX_CTypeID = uint32_t;
using AAX_CSelector = uint32_t;
using AAX_CParamID = const char*;
using AAX_CFieldIndex = int32_t;
using AAX_CPropertyValue = int32_t;
using AAX_CProcPtrID = int32_t;
using AAX_CSampleRate = float;
using AAX_CTransportCounter = int64_t;
using AAX_CTimeOfDay = int64_t;
using AAX_CMeterID = uint32_t;

using AAX_EProperty = int32_t;
using AAX_EStemFormat = int32_t;
using AAX_EParameterType = int32_t;
using AAX_EParameterOrientation = int32_t;
using AAX_EUpdateSource = int32_t;
using AAX_EFrameRate = int32_t;
using AAX_EFeetFramesRate = int32_t;
using AAX_EViewContainer_Type = int32_t;
using AAX_EMIDINodeType = int32_t;
using AAX_EDataInPortType = int32_t;
using AAX_EPrivateDataOptions = int32_t;
using AAX_ECycleCount = int32_t;
using AAX_ELabelSelector = int32_t;
using AAX_EResourceType = int32_t;

// The procedures a module hands to the host. A factory returns the new object's primary interface.
using AAX_CCreateProc = void* (*)();
// [audio thread] one call per block for every instance: each pointer addresses one context record.
using AAX_CProcessProc = void (*)(void* const instancesBegin[], const void* instancesEnd);
using AAX_CInstanceInitProc = AAX_Result (*)(const void* instanceContext, int32_t action);
using AAX_CBackgroundProc = int32_t (*)();

// A four-character code: the first character in the most significant byte.
constexpr uint32_t AAX_FourCC(char a, char b, char c, char d)
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(d));
}

// A 16-byte interface or class identifier, compared field by field.
struct acfIID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using acfCLSID = acfIID;

inline bool operator==(const acfIID& a, const acfIID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
inline bool operator!=(const acfIID& a, const acfIID& b)
{
    return !(a == b);
}

struct AAX_Point
{
    float vert;
    float horz;
};

struct AAX_Rect
{
    float top;
    float left;
    float width;
    float height;
};

struct AAX_CMidiPacket
{
    uint32_t mTimestamp;
    uint32_t mLength;
    uint8_t mData[4];
    int32_t mIsImmediate;
};

struct AAX_CMidiStream
{
    uint32_t mBufferSize;
    AAX_CMidiPacket* mBuffer;
};

// A plug-in chunk as the host passes it: a 56-byte header followed by fSize data bytes (the host
// allocates 56 + fSize bytes, so fData is declared with one element only).
struct AAX_SPlugInChunk
{
    int32_t fSize;
    int32_t fVersion;
    uint32_t fManufacturerID;
    uint32_t fProductID;
    uint32_t fPlugInID;
    uint32_t fChunkID;
    uint8_t fName[32];
    char fData[1];
};
constexpr uint32_t AAX_SPlugInChunkHeaderSize = 56;

struct AAX_SPlugInIdentifierTriad
{
    uint32_t mManufacturerID;
    uint32_t mProductID;
    uint32_t mPlugInID;
};

static_assert(sizeof(acfIID) == 16);
static_assert(sizeof(AAX_CMidiPacket) == 16);
static_assert(sizeof(AAX_CMidiStream) == 16);
static_assert(__builtin_offsetof(AAX_SPlugInChunk, fData) == AAX_SPlugInChunkHeaderSize);
