#include "aax_library/AAX_CDefaultChunk.h"

#include "aax_library/AAX_CParameterManager.h"
#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_IParameter.h"
#include "aax_library/AAX_Identifiers.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <limits>

namespace
{

constexpr size_t kChunkNameBytes = sizeof(AAX_SPlugInChunk::fName);

// A double from a chunk narrowed to float; beyond float's range (where a plain conversion would be
// undefined) it becomes an infinity of its sign, so that a stored value out of range never compares
// equal to the largest float.
float NarrowToFloatOrInfinity(double value)
{
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// One callable made of several lambdas, each taking one kind of value.
template <typename... Lambdas> struct Overloaded : Lambdas...
{
    using Lambdas::operator()...;
};
template <typename... Lambdas> Overloaded(Lambdas...) -> Overloaded<Lambdas...>;

// The one place that asks a parameter for the kind of its value, in the order the chunk has always
// used (float, 32-bit integer, bool, double, text): visit gets the value of the first kind the
// parameter answers to, and its result is returned; noKind when the parameter answers to none.
template <typename Result, typename Visitor>
Result VisitChunkedValue(const AAX_IParameter& parameter, Result noKind, Visitor&& visit)
{
    if (float value = 0.0f; parameter.GetValueAsFloat(&value))
        return visit(value);
    if (int32_t value = 0; parameter.GetValueAsInt32(&value))
        return visit(value);
    if (bool value = false; parameter.GetValueAsBool(&value))
        return visit(value);
    if (double value = 0.0; parameter.GetValueAsDouble(&value))
        return visit(value);
    if (AAX_CString value; parameter.GetValueAsString(&value))
        return visit(static_cast<const AAX_CString&>(value));
    return noKind;
}

} // namespace

void AAX_CDefaultChunk::Filter(AAX_CParamID identifier)
{
    if (identifier != nullptr)
        mFilteredParameters.emplace(identifier);
}

bool AAX_CDefaultChunk::IsFiltered(AAX_CParamID identifier) const
{
    return identifier == nullptr || mFilteredParameters.find(identifier) != mFilteredParameters.end();
}

template <typename Manager, typename Visit>
void AAX_CDefaultChunk::ForEachChunked(Manager& parameters, int32_t count, Visit&& visit) const
{
    for (int32_t i = 0; i < count; ++i)
    {
        auto* const parameter = parameters.GetParameter(i);
        if (parameter == nullptr || IsFiltered(parameter->Identifier()))
            continue;
        if (!visit(*parameter))
            return;
    }
}

void AAX_CDefaultChunk::Build(const AAX_CParameterManager& parameters, int32_t count)
{
    mChunkParser.Clear();
    ForEachChunked(parameters, count,
                   [&](const AAX_IParameter& parameter)
                   {
                       const AAX_CParamID identifier = parameter.Identifier();
                       // The chunk keeps floats as doubles and bools as 32-bit integers.
                       const auto addDouble = [&](double value)
                       { return mChunkParser.AddDouble(identifier, value), true; };
                       const auto addInt32 = [&](int32_t value)
                       { return mChunkParser.AddInt32(identifier, value), true; };
                       VisitChunkedValue(
                           parameter, false,
                           Overloaded{[&](float value) { return addDouble(static_cast<double>(value)); },
                                      [&](int32_t value) { return addInt32(value); },
                                      [&](bool value) { return addInt32(value ? 1 : 0); },
                                      [&](double value) { return addDouble(value); },
                                      [&](const AAX_CString& value)
                                      { return mChunkParser.AddString(identifier, value), true; }});
                       return true;
                   });
}

AAX_Result AAX_CDefaultChunk::Size(const AAX_CParameterManager& parameters, int32_t count, uint32_t* size)
{
    Build(parameters, count);
    mChunkSize = mChunkParser.GetChunkDataSize();
    if (mChunkSize < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    *size = static_cast<uint32_t>(mChunkSize);
    return AAX_SUCCESS;
}

AAX_Result AAX_CDefaultChunk::Write(const AAX_CParameterManager& parameters, int32_t count,
                                    AAX_SPlugInChunk* chunk)
{
    // The host allocated what the size query promised; parameters that changed since would not fit.
    Build(parameters, count);
    if (mChunkParser.GetChunkDataSize() != mChunkSize || mChunkSize == 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    chunk->fVersion = mChunkParser.GetChunkVersion();
    std::memset(chunk->fName, 0, kChunkNameBytes);
    std::memcpy(chunk->fName, cDefaultChunkName,
                std::min(std::strlen(cDefaultChunkName), kChunkNameBytes - 1));
    return mChunkParser.GetChunkData(chunk, mChunkSize);
}

void AAX_CDefaultChunk::Restore(AAX_CParameterManager& parameters, int32_t count,
                                const AAX_SPlugInChunk* chunk)
{
    mChunkParser.LoadChunk(chunk);
    ForEachChunked(parameters, count,
                   [&](AAX_IParameter& parameter)
                   {
                       RestoreParameter(parameter);
                       return true;
                   });
}

bool AAX_CDefaultChunk::Matches(const AAX_CParameterManager& parameters, int32_t count,
                                const AAX_SPlugInChunk* chunk)
{
    mChunkParser.LoadChunk(chunk);
    bool allMatch = true;
    ForEachChunked(parameters, count,
                   [&](const AAX_IParameter& parameter)
                   {
                       allMatch = Compare(parameter) != Match::Different;
                       return allMatch;
                   });
    return allMatch;
}

void AAX_CDefaultChunk::Load(const AAX_SPlugInChunk* chunk)
{
    mChunkParser.LoadChunk(chunk);
}

bool AAX_CDefaultChunk::StoredNumber(AAX_CParamID identifier, double* value)
{
    if (mChunkParser.GetDoubleValue(identifier, value))
        return true;
    int32_t stored = 0;
    if (!mChunkParser.GetInt32Value(identifier, &stored))
        return false;
    *value = static_cast<double>(stored);
    return true;
}

// Restores by the parameter's own kind; a value missing from the chunk or stored with another type
// leaves the parameter as it is.
void AAX_CDefaultChunk::RestoreParameter(AAX_IParameter& parameter)
{
    const AAX_CParamID identifier = parameter.Identifier();
    double storedDouble = 0.0;
    int32_t storedInt = 0;
    AAX_CString storedString;
    VisitChunkedValue(parameter, false,
                      Overloaded{[&](float)
                                 {
                                     return mChunkParser.GetDoubleValue(identifier, &storedDouble) &&
                                            parameter.SetValueWithFloat(
                                                NarrowToFloatOrInfinity(storedDouble));
                                 },
                                 [&](int32_t) {
                                     return mChunkParser.GetInt32Value(identifier, &storedInt) &&
                                            parameter.SetValueWithInt32(storedInt);
                                 },
                                 [&](bool) {
                                     return mChunkParser.GetInt32Value(identifier, &storedInt) &&
                                            parameter.SetValueWithBool(storedInt != 0);
                                 },
                                 [&](double)
                                 {
                                     return mChunkParser.GetDoubleValue(identifier, &storedDouble) &&
                                            parameter.SetValueWithDouble(storedDouble);
                                 },
                                 [&](const AAX_CString&)
                                 {
                                     return mChunkParser.GetStringValue(identifier, &storedString) &&
                                            parameter.SetValueWithString(storedString);
                                 }});
}

AAX_CDefaultChunk::Match AAX_CDefaultChunk::Compare(const AAX_IParameter& parameter)
{
    const AAX_CParamID identifier = parameter.Identifier();
    double storedDouble = 0.0;
    int32_t storedInt = 0;
    AAX_CString storedString;
    const auto match = [](bool equal) { return equal ? Match::Equal : Match::Different; };
    return VisitChunkedValue(
        parameter, Match::NotCompared,
        Overloaded{
            [&](float value)
            {
                return match(mChunkParser.GetDoubleValue(identifier, &storedDouble) &&
                             NarrowToFloatOrInfinity(storedDouble) == value);
            },
            [&](int32_t value)
            { return match(mChunkParser.GetInt32Value(identifier, &storedInt) && storedInt == value); },
            [&](bool value) {
                return match(mChunkParser.GetInt32Value(identifier, &storedInt) && (storedInt != 0) == value);
            },
            [&](double value)
            {
                return match(mChunkParser.GetDoubleValue(identifier, &storedDouble) &&
                             NarrowToFloatOrInfinity(storedDouble) == NarrowToFloatOrInfinity(value));
            },
            [&](const AAX_CString& value) {
                return match(mChunkParser.GetStringValue(identifier, &storedString) && storedString == value);
            }});
}
