#pragma once
// How most tests of the module begin: the module loaded and scanned by the test host, and one
// data-model object made from the description and initialised, as a host opens a plug-in before it
// makes anything else of it.

#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class OpenedPlugIn
{
public:
    // Whether the data model is initialised at once or left to the test.
    enum class Initialise
    {
        Now,
        ByTheTest,
    };

    // effectLibrary: installed as Ombrel.dll (empty: none), not configured.
    explicit OpenedPlugIn(const std::string& effectLibrary);
    // The installed test effect configured with config before the module loads.
    OpenedPlugIn(const std::string& effectLibrary, const TestEffectConfig& config,
                 Initialise initialise = Initialise::Now);
    // The installed test effect gets its defaults changed by edit(TestEffectConfig&) before the module
    // loads.
    template <class Edit>
    OpenedPlugIn(const std::string& effectLibrary, Edit edit, Initialise initialise = Initialise::Now)
        : OpenedPlugIn(effectLibrary, editedDefaults(edit), initialise)
    {
    }

    // Whether the scan found the effect and the data model was made (and initialised, if it was to
    // be); if not, which of them failed.
    ::testing::AssertionResult ready();

    PlugInSession session;
    // Only once ready.
    testhost::DataModelInstance& dataModel() const { return *made; }
    // What the installed test effect has received.
    TestEffectLog& log() { return session.bundle().log(); }

private:
    template <class Edit> static TestEffectConfig editedDefaults(Edit edit)
    {
        TestEffectConfig config = testEffectDefaults();
        edit(config);
        return config;
    }
    void makeDataModel(Initialise initialise);

    std::unique_ptr<testhost::DataModelInstance> made;
    Initialise initialised = Initialise::Now;
};
