#pragma once
// Result codes of AAX operations and of the component entry points. Hosts compare these numbers,
// so they never change.

#include <cstdint>

using AAX_Result = int32_t;
using ACFRESULT = int32_t;

// Result codes of AAX operations.
constexpr AAX_Result AAX_SUCCESS = 0;
constexpr AAX_Result AAX_ERROR_INVALID_PARAMETER_ID = -20001;
constexpr AAX_Result AAX_ERROR_INVALID_STRING_CONVERSION = -20002;
constexpr AAX_Result AAX_ERROR_NULL_OBJECT = -20004;
constexpr AAX_Result AAX_ERROR_INVALID_CHUNK_INDEX = -20006;
constexpr AAX_Result AAX_ERROR_INVALID_CHUNK_ID = -20007;
constexpr AAX_Result AAX_ERROR_INCORRECT_CHUNK_SIZE = -20008;
constexpr AAX_Result AAX_ERROR_UNIMPLEMENTED = -20009;
constexpr AAX_Result AAX_ERROR_NOT_INITIALIZED = -20011;
constexpr AAX_Result AAX_ERROR_SIGNED_INT_OVERFLOW = -20033;

// Result codes at the entry points and of interface lookup.
constexpr ACFRESULT ACF_OK = 0;
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<ACFRESULT>(0x80000004u);
constexpr ACFRESULT ACF_E_POINTER = static_cast<ACFRESULT>(0x80000005u);
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<ACFRESULT>(0x8000FFFFu);
