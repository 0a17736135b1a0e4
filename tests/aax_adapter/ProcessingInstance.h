#pragma once
// One plug-in instance as a host runs it: made for one of the description's components (whose stem
// formats the host offers from then on), initialised, with a processing context whose private data
// names it.

#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

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

// Runs body(componentIndex, instance) once for each of the description's configurations (mono,
// mono to stereo, stereo), each with a ready instance of its own; a configuration whose instance
// is not ready fails the test.
template <class Body> void forEachConfiguration(PlugInSession& session, int32_t maxBlockLength, Body body)
{
    for (size_t c : {kMonoComponent, kMonoToStereoComponent, kStereoComponent})
    {
        SCOPED_TRACE(c);
        ProcessingInstance instance(session, c, maxBlockLength);
        ASSERT_TRUE(instance.ready());
        body(c, instance);
    }
}
