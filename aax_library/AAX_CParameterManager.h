#pragma once
// The table of published parameters: owns them, in the order they were added (a parameter's index
// is its position), and finds them by identifier.

#include "aax_library/AAX_Types.h"
#include "platform/NonCopyable.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;
class AAX_IParameter;

class AAX_CParameterManager : private NonCopyable
{
public:
    AAX_CParameterManager();
    ~AAX_CParameterManager();

    // [host thread] The automation delegate handed to every parameter added from now on (borrowed;
    // null hands none).
    void Initialize(AAX_IAutomationDelegate* automationDelegate);

    // [host thread] Takes ownership and answers true, unless parameter is null or its identifier is
    // already in the table: then the caller keeps it and the answer is false.
    bool AddParameter(AAX_IParameter* parameter);
    // [host thread] Deletes every parameter in the order of adding.
    void RemoveAllParameters();

    // The look-ups below are [any thread]: a plug-in reports its own changes from the thread they
    // happen on (a refresh on its message thread, automation from its audio thread). They take no
    // lock, so the table must not change meanwhile: parameters are added only before the host may
    // call (in EffectInit) and removed only once nothing reports any more.

    // Exact, byte-wise lookup; null for a null or unknown identifier (borrowed).
    AAX_IParameter* GetParameterByID(AAX_CParamID identifier);
    const AAX_IParameter* GetParameterByID(AAX_CParamID identifier) const;
    // The parameter at index, or null outside 0 .. NumParameters() - 1 (borrowed).
    AAX_IParameter* GetParameter(int32_t index);
    const AAX_IParameter* GetParameter(int32_t index) const;
    // Position of the identifier, or -1.
    int32_t GetParameterIndex(AAX_CParamID identifier) const;
    int32_t NumParameters() const;

private:
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr; // borrowed
    std::vector<std::unique_ptr<AAX_IParameter>> mParameters;
    std::map<std::string, AAX_IParameter*, std::less<>> mParametersMap;
};
