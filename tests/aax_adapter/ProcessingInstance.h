#pragma once
// One plug-in instance as a host runs it: made for one of the description's components (whose stem
// formats the host offers from then on), initialised, with a processing context whose private data
// names it.

#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/ProcessingContext.h"

#include <cstddef>
#include <cstdint>

class ProcessingInstance
{
public:
    ProcessingInstance(PlugInSession& session, size_t componentIndex, int32_t maxBlockLength);

    // Whether the data model initialised and the context took it as its private data.
    bool ready() const;
    // [audio thread] One block of this instance alone through the component's process procedure.
    void process();

    const testhost::ComponentDescription& component;
    testhost::DataModelInstance dataModel;
    testhost::ProcessingContext context;

private:
    AAX_Result privateDataResult = AAX_ERROR_NOT_INITIALIZED;
};
