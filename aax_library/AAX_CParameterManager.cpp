#include "aax_library/AAX_CParameterManager.h"

#include "aax_library/AAX_IParameter.h"

#include <cstring>

AAX_CParameterManager::AAX_CParameterManager() = default;

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* automationDelegate)
{
    mAutomationDelegate = automationDelegate;
}

bool AAX_CParameterManager::AddParameter(AAX_IParameter* parameter)
{
    if (parameter == nullptr)
        return false;
    const char* const identifier = parameter->Identifier();
    const std::string key(identifier != nullptr ? identifier : "");
    if (mParametersMap.find(key) != mParametersMap.end())
        return false;
    // Make room first, so that a failed allocation leaves the parameter with the caller.
    mParameters.reserve(mParameters.size() + 1);
    mParametersMap.emplace(key, parameter);
    mParameters.emplace_back(parameter);
    parameter->SetAutomationDelegate(mAutomationDelegate);
    return true;
}

void AAX_CParameterManager::RemoveAllParameters()
{
    // In the order of adding, each unregistering from the automation delegate as it goes.
    for (std::unique_ptr<AAX_IParameter>& parameter : mParameters)
        parameter.reset();
    mParameters.clear();
    mParametersMap.clear();
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier)
{
    if (identifier == nullptr)
        return nullptr;
    const auto it = mParametersMap.find(identifier);
    return it != mParametersMap.end() ? it->second : nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameterByID(identifier);
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index)
{
    if (index < 0 || index >= NumParameters())
        return nullptr;
    return mParameters[static_cast<size_t>(index)].get();
}

const AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameter(index);
}

int32_t AAX_CParameterManager::GetParameterIndex(AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return -1;
    for (size_t i = 0; i < mParameters.size(); ++i)
    {
        const char* const own = mParameters[i]->Identifier();
        if (own != nullptr && std::strcmp(own, identifier) == 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t>(mParameters.size());
}
