#include "aax_adapter/MasterBypassParameter.h"

#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CEffectParameters.h"
#include "aax_library/AAX_CParameter.h"

namespace AAXClasses
{

namespace
{

// Shorter forms of the bypass name, longest first, with the length each needs.
struct ShortName
{
    int32_t minimumLength;
    const char* text;
};
constexpr ShortName kMasterBypassShortNames[] = {{13, kMasterBypassName}, {8, "Mast Byp"}, {6, "MstByp"}};
constexpr const char* kMasterBypassShortestName = "MByp";
constexpr const char* kBypassOffText = "bypass";
constexpr const char* kBypassOnText = "on";
constexpr uint32_t kBypassSteps = 2;

} // namespace

const char* masterBypassNameOfLength(int32_t length)
{
    for (const ShortName& candidate : kMasterBypassShortNames)
        if (length >= candidate.minimumLength)
            return candidate.text;
    return kMasterBypassShortestName;
}

std::unique_ptr<AAX_IParameter> makeMasterBypassParameter()
{
    auto bypass = std::make_unique<AAX_CParameter<bool>>(
        cDefaultMasterBypassID, AAX_CString(kMasterBypassName), false, AAX_CBinaryTaperDelegate<bool>(),
        AAX_CBinaryDisplayDelegate<bool>(kBypassOffText, kBypassOnText), true);
    bypass->SetNumberOfSteps(kBypassSteps);
    bypass->SetType(AAX_eParameterType_Discrete);
    return bypass;
}

} // namespace AAXClasses
