#pragma once
// The base of the plug-in's data-model object: the table of published parameters, the host's
// parameter queries answered by identifier, parameter updates turned into packets for the
// processing side, and every parameter saved and restored as the default chunk 'elck'. A derived
// class adds its parameters in EffectInit and overrides what it needs.

#include "aax_library/AAX_CDefaultChunk.h"
#include "aax_library/AAX_CPacketDispatcher.h"
#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_CParameterManager.h"
#include "aax_library/AAX_IEffectParameters.h"
#include "aax_library/AAX_Identifiers.h"
#include "aax_library/AAX_VAutomationDelegate.h"
#include "aax_library/AAX_VController.h"
#include "aax_library/AAX_VTransport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    // [host thread] for every slot below unless noted. Output pointers may be null: the call then
    // answers AAX_ERROR_NULL_OBJECT (or the error the slot defines) and writes nothing.
    AAX_Result Initialize(IACFUnknown* controller) override;                                          // 3
    AAX_Result Uninitialize() override;                                                               // 4
    AAX_Result NotificationReceived(uint32_t type, const void* data, uint32_t size) override;         // 5
    AAX_Result GetNumberOfParameters(int32_t* count) override;                                        // 6
    AAX_Result GetMasterBypassParameter(AAX_IString* id) override;                                    // 7
    AAX_Result GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* out) override;                // 8
    AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* out) override;                     // 9
    AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) override;                         // 10
    AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) override; // 11
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* out) override;             // 12
    AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) override;            // 13
    AAX_Result GetParameterType(AAX_CParamID id, int32_t* out) override;                              // 14
    AAX_Result GetParameterOrientation(AAX_CParamID id, int32_t* out) override;                       // 15
    AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** out) override;                          // 16
    AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* out) override;                             // 17
    AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) override;                      // 18
    AAX_Result GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* out) override;       // 19
    AAX_Result GetParameterValueFromString(AAX_CParamID id, double* out,
                                           const AAX_IString& text) override; // 20
    AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                           int32_t maxLength) override;                                 // 21
    AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) override; // 22
    AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* out) override;                      // 23
    // [any thread] for 24, 26 and 27 between Initialize and Uninitialize: a derived class reports
    // its own changes with them from the thread they happen on, and the parameters then only post
    // requests to the host.
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override;    // 24
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) override; // 25
    AAX_Result TouchParameter(AAX_CParamID id) override;                               // 26
    AAX_Result ReleaseParameter(AAX_CParamID id) override;                             // 27
    // [host thread] again from here.
    AAX_Result UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) override;                   // 28
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override; // 29
    AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) override;              // 30
    AAX_Result GenerateCoefficients() override;                                                        // 31
    AAX_Result ResetFieldData(int32_t field, void* data, uint32_t size) override;                      // 32
    AAX_Result GetNumberOfChunks(int32_t* count) override;                                             // 33
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) override;                           // 34
    AAX_Result GetChunkSize(AAX_CTypeID id, uint32_t* size) override;                                  // 35
    AAX_Result GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) override;                             // 36
    AAX_Result SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;                       // 37
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) override;        // 38
    AAX_Result GetNumberOfChanges(int32_t* count) override;                                            // 39
    AAX_Result TimerWakeup() override;                                                                 // 40
    AAX_Result GetCurveData(uint32_t type, const float* values, uint32_t count, float* out) override;  // 41
    AAX_Result GetCustomData(uint32_t block, uint32_t size, void* data, uint32_t* written) override;   // 42
    AAX_Result SetCustomData(uint32_t block, uint32_t size, const void* data) override;                // 43
    AAX_Result DoMIDITransfers() override;                                                             // 44
    AAX_Result RenderAudio_Hybrid(void* info) override;                                                // 45
    AAX_Result UpdateMIDINodes(int32_t field, AAX_CMidiPacket& packet) override;                       // 46
    AAX_Result UpdateControlMIDINodes(uint32_t node, AAX_CMidiPacket& packet) override;                // 47

protected:
    // [host thread, initialised] Called by Initialize once the host's wrappers exist: add the
    // parameters and register their packets here. A non-zero result fails Initialize with it.
    AAX_Result EffectInit() override; // 48

    // [host thread] Leaves identifier out of the default chunk (inserting it twice changes nothing).
    void FilterParameterIDOnSave(AAX_CParamID identifier);
    // [host thread] Fills the chunk parser with every unfiltered parameter's value.
    void BuildChunkData();

    // [any thread] The host's wrappers between Initialize and Uninitialize, else null (borrowed). A
    // caller on another thread than the host's keeps Uninitialize from running meanwhile.
    AAX_IController* Controller();
    AAX_ITransport* Transport();
    AAX_IAutomationDelegate* AutomationDelegate();

    int32_t mNumPlugInChanges = 0;
    // The default chunk: its filter set, size handshake and parser.
    AAX_CDefaultChunk mDefaultChunk;
    int32_t mNumChunkedParameters = 0;
    AAX_CPacketDispatcher mPacketDispatcher;
    AAX_CParameterManager mParameterManager;
    std::unique_ptr<AAX_VController> mController;
    std::unique_ptr<AAX_VTransport> mTransport;
    std::unique_ptr<AAX_VAutomationDelegate> mAutomationDelegate;

private:
    // [any thread] on the calling slot's thread: the body's result with the parameter of the
    // identifier, or AAX_ERROR_INVALID_PARAMETER_ID when there is none; guarded like any host call.
    template <typename Body> AAX_Result WithParameter(AAX_CParamID id, Body&& body);
    // [host thread] read's answer for the parameter of the identifier written to out
    // (AAX_ERROR_NULL_OBJECT for a null out), as WithParameter.
    template <typename Value, typename Read>
    AAX_Result ReadParameter(AAX_CParamID id, Value* out, Read&& read);
    // [any thread] on the calling slot's thread: change applied to the parameter of the
    // identifier, as WithParameter.
    template <typename Change> AAX_Result ChangeParameter(AAX_CParamID id, Change&& change);
    // [host thread] apply's result with the parameter's normalized value moved by delta and kept
    // within 0 .. 1; a failure to read the value is answered as it is.
    template <typename Apply> AAX_Result WithRelativeValue(AAX_CParamID id, double delta, Apply&& apply);
    // [host thread] What GetNumberOfParameters answers.
    int32_t ParameterCount();
    void ReleaseHostWrappers();
};
