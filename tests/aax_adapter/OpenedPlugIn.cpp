#include "tests/aax_adapter/OpenedPlugIn.h"

OpenedPlugIn::OpenedPlugIn(const std::string& effectLibrary) : session(effectLibrary)
{
    makeDataModel(Initialise::Now);
}

OpenedPlugIn::OpenedPlugIn(const std::string& effectLibrary, const TestEffectConfig& config,
                           Initialise initialise)
    : session(effectLibrary, config)
{
    makeDataModel(initialise);
}

void OpenedPlugIn::makeDataModel(Initialise initialise)
{
    initialised = initialise;
    // Without a scanned effect there is no factory to make it with.
    if (session.scanned())
        made = std::make_unique<testhost::DataModelInstance>(session.host(), session.dataModelFactory(),
                                                             initialise == Initialise::Now);
}

::testing::AssertionResult OpenedPlugIn::ready()
{
    if (!session.scanned())
        return ::testing::AssertionFailure() << "the scan did not find the one effect:\n"
                                             << session.host().Log().Dump();
    if (!made->IsValid())
        return ::testing::AssertionFailure()
               << "no data model was made (query result " << made->QueryResult() << ")";
    if (initialised == Initialise::Now && made->InitializeResult() != AAX_SUCCESS)
        return ::testing::AssertionFailure()
               << "the data model's Initialize answered " << made->InitializeResult();
    return ::testing::AssertionSuccess();
}
