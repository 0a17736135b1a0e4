#pragma once
// A data-model and a GUI object built on the library's base classes, as a plug-in derives them,
// made through factory procedures so that the test host drives them like a real host.

#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CEffectGUI.h"
#include "aax_library/AAX_CEffectParameters.h"
#include "aax_library/AAX_CParameter.h"

#include "TestDelegates.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class TestDataModel : public AAX_CEffectParameters
{
public:
    using Setup = std::function<AAX_Result(TestDataModel&)>;

    // The EffectInit of the next object made by Create.
    static void SetNextSetup(Setup setup) { NextSetup() = std::move(setup); }
    // [host thread] the factory procedure.
    static void* Create()
    {
        auto* object = new TestDataModel(std::move(NextSetup()));
        NextSetup() = nullptr;
        return static_cast<AAX_IACFEffectParameters_V2*>(object);
    }
    // The object behind a data-model interface this factory made.
    static TestDataModel& From(AAX_IACFEffectParameters_V2* dataModel)
    {
        return *static_cast<TestDataModel*>(dataModel);
    }

    AAX_CParameterManager& Parameters() { return mParameterManager; }
    AAX_CPacketDispatcher& Packets() { return mPacketDispatcher; }
    void Filter(const char* identifier) { FilterParameterIDOnSave(identifier); }
    int32_t NumChunkedParameters() const { return mNumChunkedParameters; }
    float FloatValue(const char* identifier)
    {
        float value = -1.0f;
        if (AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier))
            parameter->GetValueAsFloat(&value);
        return value;
    }
    bool BoolValue(const char* identifier)
    {
        bool value = false;
        if (AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier))
            parameter->GetValueAsBool(&value);
        return value;
    }

protected:
    AAX_Result EffectInit() override { return mSetup ? mSetup(*this) : AAX_SUCCESS; }

private:
    explicit TestDataModel(Setup setup) : mSetup(std::move(setup)) {}
    static Setup& NextSetup()
    {
        static Setup setup;
        return setup;
    }

    Setup mSetup;
};

inline AAX_CParameter<bool>* NewBypassParameter()
{
    return new AAX_CParameter<bool>(cDefaultMasterBypassID, AAX_CString("Master Bypass"), false,
                                    AAX_CBinaryTaperDelegate<bool>(),
                                    AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
}

inline AAX_CParameter<bool>* NewSwitchParameter(const char* id, const char* name = "Switch",
                                                bool value = false)
{
    return new AAX_CParameter<bool>(id, AAX_CString(name), value, AAX_CBinaryTaperDelegate<bool>(),
                                    AAX_CBinaryDisplayDelegate<bool>("off", "on"), true);
}

inline AAX_CParameter<float>* NewLevelParameter(const char* id, const char* name = "Level",
                                                float value = 0.0f)
{
    return new AAX_CParameter<float>(id, AAX_CString(name), value, LinearTestTaper(), DecimalTestDelegate(),
                                     true);
}

// A GUI that records what the base class asks of it.
class TestGui : public AAX_CEffectGUI
{
public:
    // [host thread] the factory procedure.
    static void* Create() { return static_cast<AAX_IACFEffectGUI*>(new TestGui); }
    static TestGui& From(AAX_IACFEffectGUI* gui) { return *static_cast<TestGui*>(gui); }

    AAX_Result ParameterUpdated(AAX_CParamID id) override
    {
        events.push_back(std::string("ParameterUpdated ") + id);
        return AAX_SUCCESS;
    }

    // What the derived class saw, in order; container calls note the window they could reach.
    std::vector<std::string> events;
    std::vector<void*> windowsSeenOnCreate;
    bool containerVisibleOnDelete = true;

    using AAX_CEffectGUI::GetEffectParameters;
    using AAX_CEffectGUI::GetViewContainer;

protected:
    void CreateViewContents() override { events.push_back("CreateViewContents"); }
    void CreateViewContainer() override
    {
        events.push_back("CreateViewContainer");
        windowsSeenOnCreate.push_back(GetViewContainer() != nullptr ? GetViewContainer()->GetPtr() : nullptr);
    }
    void DeleteViewContainer() override
    {
        events.push_back("DeleteViewContainer");
        containerVisibleOnDelete = GetViewContainer() != nullptr;
    }
};
