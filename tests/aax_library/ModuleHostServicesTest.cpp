// The module-wide host-services holder: created at start-up, gone at shut-down, and the traces
// that pass through it in between.

#include "aax_library/AAX_CHostServices.h"
#include "host_kit/HostServices.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <string>

using namespace testhost;

namespace
{
// The holder is process-wide: every test leaves it empty again.
class ModuleHostServices : public ::testing::Test
{
protected:
    void SetUp() override { AAX_CHostServices::Set(nullptr); }
    void TearDown() override { AAX_CHostServices::Set(nullptr); }
};
} // namespace

TEST_F(ModuleHostServices, TracesOutsideStartUpAndShutDownAreDroppedAndAnswerZero)
{
    TestHost host;
    host.config.SetResult("HostServices.Trace", -99);
    EXPECT_EQ(nullptr, AAX_CHostServices::Get());
    EXPECT_EQ(AAX_SUCCESS, AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "before %d", 1));

    AAX_CHostServices::Set(host.Unknown());
    EXPECT_EQ(-99, AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "during %d", 2));
    AAX_CHostServices::Set(nullptr);
    EXPECT_EQ(AAX_SUCCESS, AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "after %d", 3));

    const auto services = host.All<HostServices>();
    ASSERT_EQ(1u, services.size());
    ASSERT_EQ(1u, services[0]->Traces().size());
    EXPECT_EQ("during 2", services[0]->Traces()[0].message);
    EXPECT_EQ(0x08000000, services[0]->Traces()[0].priority);
    EXPECT_EQ(0, host.OutstandingReferences()) << host.ReferenceReport();
}

TEST_F(ModuleHostServices, LongTracesAreCutAt511Characters)
{
    TestHost host;
    AAX_CHostServices::Set(host.Unknown());
    const std::string longText(600, 'x');
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "%s", longText.c_str());
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "%s", longText.substr(0, 511).c_str());
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, nullptr);
    AAX_CHostServices::Set(nullptr);

    const auto traces = host.All<HostServices>().at(0)->Traces();
    ASSERT_EQ(3u, traces.size());
    EXPECT_EQ(std::string(511, 'x'), traces[0].message);
    EXPECT_EQ(std::string(511, 'x'), traces[1].message);
    EXPECT_EQ("", traces[2].message);
}

TEST_F(ModuleHostServices, ASecondStartUpKeepsTheFirstWrapperAndShutDownTwiceIsHarmless)
{
    TestHost first;
    TestHost second;
    AAX_CHostServices::Set(first.Unknown());
    AAX_IHostServices* wrapper = AAX_CHostServices::Get();
    ASSERT_NE(nullptr, wrapper);
    AAX_CHostServices::Set(second.Unknown());
    EXPECT_EQ(wrapper, AAX_CHostServices::Get());
    EXPECT_TRUE(second.Log().Calls().empty());

    AAX_CHostServices::Trace(AAX_eTracePriorityHost_Low, "to the first host");
    EXPECT_EQ(1u, first.Log().Count("HostServices", "Trace"));

    AAX_CHostServices::Set(nullptr);
    AAX_CHostServices::Set(nullptr);
    EXPECT_EQ(nullptr, AAX_CHostServices::Get());
    EXPECT_EQ(0, first.OutstandingReferences()) << first.ReferenceReport();
    EXPECT_EQ(0, first.OverReleases());
}

TEST_F(ModuleHostServices, AHostWithoutServicesGivesAWrapperThatAnswersNullObject)
{
    TestHost host;
    host.config.hostServices = Offer::None;
    AAX_CHostServices::Set(host.Unknown());
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, AAX_CHostServices::Trace(AAX_eTracePriorityHost_Low, "nowhere"));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, AAX_CHostServices::HandleAssertFailure("f", 1, "n"));
    AAX_CHostServices::Set(nullptr);
    EXPECT_EQ(0, host.OutstandingReferences()) << host.ReferenceReport();
}
