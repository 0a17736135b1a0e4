// The bundle exactly as the build lays it out: the module and the example delay Ombrel.dll side by
// side under Plug-Ins, loaded in place.

#include "tests/aax_adapter/ModuleBundle.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostString.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/ProcessingContext.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace testhost;

TEST(BundledExample, TheBuiltBundleRunsTheExampleDelayBesideTheModule)
{
    TestHost host;
    ModuleLoader module(builtModulePath());
    ASSERT_TRUE(module.IsLoaded()) << module.Error();
    const ScanResult scan = Scan(module, host);
    ASSERT_TRUE(scan.Succeeded());
    const EffectDescription& effect = scan.description.effects.at(0);
    const ComponentDescription& stereo = effect.components.at(2);
    {
        DataModelInstance dataModel(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        ASSERT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
        // The delay's six parameters behind the bypass, Sync as a switch.
        ASSERT_EQ(7u, dataModel.ParameterIds().size());
        HostString name;
        dataModel->GetParameterName("3", &name);
        EXPECT_EQ("3: Sync", name.Text());
        int32_t steps = 0;
        EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNumberOfSteps("3", &steps));
        EXPECT_EQ(2, steps);
        HostString text;
        dataModel->GetParameterStringFromValue("1", 0.5, &text, 16);
        EXPECT_EQ("50%", text.Text());

        // An impulse comes out dry and again as an echo later on.
        ProcessingContext context(stereo, 512);
        ASSERT_EQ(AAX_SUCCESS, context.ResetPrivateData(dataModel.Get()));
        float peak = 0.0f;
        for (int block = 0; block < 200; ++block)
        {
            context.FillInputs(0.0f);
            if (block == 0)
                context.Input(0)[0] = context.Input(1)[0] = 1.0f;
            RunProcess(stereo.process, {&context});
            if (block > 0)
                for (int32_t n = 0; n < 512; ++n)
                    peak = std::max(peak, std::abs(context.Output(0)[n]));
        }
        EXPECT_GT(peak, 0.01f);

        SavedChunk state;
        ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(AAX_FourCC('A', 'l', 'l', ' '), &state));
        EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(state));
        SavedChunk again;
        ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(state.id, &again));
        EXPECT_EQ(state.data, again.data);
    }
    EXPECT_EQ(ACF_OK, module.CanUnloadNow(host.Unknown()));
    EXPECT_EQ(ACF_OK, Shutdown(module, host));
}
