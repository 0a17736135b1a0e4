#pragma once
// The data-model interface the module implements and the host drives. Positions 0 to 5 are the
// effect component's; the first version holds positions 6 to 39, the second appends 40 to 47. The
// positions are the binary contract with the host: never reorder or insert.

#include "aax_library/AAX_IString.h"
#include "aax_library/host/AAX_IACFEffectComponent.h"

class AAX_IParameter;

class AAX_IACFEffectParameters : public AAX_IACFEffectComponent
{
public:
    // [host thread] everything below unless noted. Parameter ids are NUL-terminated texts.
    virtual AAX_Result GetNumberOfParameters(int32_t* count) = 0;                         // 6
    virtual AAX_Result GetMasterBypassParameter(AAX_IString* id) = 0;                     // 7
    virtual AAX_Result GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* out) = 0; // 8
    virtual AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* out) = 0;      // 9
    virtual AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) = 0;          // 10
    virtual AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name,
                                                int32_t length) = 0;                               // 11
    virtual AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* out) = 0;       // 12
    virtual AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) = 0;      // 13
    virtual AAX_Result GetParameterType(AAX_CParamID id, int32_t* out) = 0;                        // 14
    virtual AAX_Result GetParameterOrientation(AAX_CParamID id, int32_t* out) = 0;                 // 15
    virtual AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** out) = 0;                    // 16
    virtual AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* out) = 0;                       // 17
    virtual AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) = 0;                // 18
    virtual AAX_Result GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* out) = 0; // 19
    virtual AAX_Result GetParameterValueFromString(AAX_CParamID id, double* out,
                                                   const AAX_IString& text) = 0; // 20
    virtual AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                                   int32_t maxLength) = 0; // 21
    virtual AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                               int32_t maxLength) = 0;                    // 22
    virtual AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* out) = 0;     // 23
    virtual AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) = 0;    // 24
    virtual AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) = 0; // 25
    virtual AAX_Result TouchParameter(AAX_CParamID id) = 0;                               // 26
    virtual AAX_Result ReleaseParameter(AAX_CParamID id) = 0;                             // 27
    virtual AAX_Result UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) = 0;   // 28
    virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                      int32_t source) = 0;                   // 29
    virtual AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) = 0; // 30
    virtual AAX_Result GenerateCoefficients() = 0;                                           // 31
    // [host thread] fills the private-data field of a new processing instance.
    virtual AAX_Result ResetFieldData(int32_t field, void* data, uint32_t size) = 0;               // 32
    virtual AAX_Result GetNumberOfChunks(int32_t* count) = 0;                                      // 33
    virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) = 0;                    // 34
    virtual AAX_Result GetChunkSize(AAX_CTypeID id, uint32_t* size) = 0;                           // 35
    virtual AAX_Result GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) = 0;                      // 36
    virtual AAX_Result SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) = 0;                // 37
    virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) = 0; // 38
    virtual AAX_Result GetNumberOfChanges(int32_t* count) = 0;                                     // 39

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual AAX_Result TimerWakeup() = 0; // 40
    virtual AAX_Result GetCurveData(uint32_t type, const float* values, uint32_t count,
                                    float* out) = 0;                                                    // 41
    virtual AAX_Result GetCustomData(uint32_t block, uint32_t size, void* data, uint32_t* written) = 0; // 42
    virtual AAX_Result SetCustomData(uint32_t block, uint32_t size, const void* data) = 0;              // 43
    virtual AAX_Result DoMIDITransfers() = 0;                                                           // 44
    virtual AAX_Result RenderAudio_Hybrid(void* info) = 0;                                              // 45
    virtual AAX_Result UpdateMIDINodes(int32_t field, AAX_CMidiPacket& packet) = 0;                     // 46
    virtual AAX_Result UpdateControlMIDINodes(uint32_t node, AAX_CMidiPacket& packet) = 0;              // 47

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};
