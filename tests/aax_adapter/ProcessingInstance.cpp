#include "tests/aax_adapter/ProcessingInstance.h"

ProcessingInstance::ProcessingInstance(PlugInSession& session, size_t componentIndex, int32_t maxBlockLength)
    : component(session.useComponent(componentIndex)), dataModel(session.host(), session.dataModelFactory()),
      context(component, maxBlockLength)
{
    // The host runs its blocks at the rate it gave the instance.
    context.SetSampleRate(session.host().config.sampleRate);
    if (dataModel.InitializeResult() == AAX_SUCCESS)
        privateDataResult = context.ResetPrivateData(dataModel.Get());
}

bool ProcessingInstance::ready() const
{
    return dataModel.InitializeResult() == AAX_SUCCESS && privateDataResult == AAX_SUCCESS;
}

void ProcessingInstance::process()
{
    testhost::RunProcess(component.process, {&context});
}
