// The reference host's state commands: both chunks of an instance into one file and back into a
// fresh instance, byte for byte.

#include "HostFixture.h"

namespace e2e
{
namespace
{

using State = HostFixture;

TEST_F(State, SaveAndLoadOfTheDelayRoundTripWithIdenticalChunks)
{
    const RunResult save = Host({"state", "save", DelayBundle(), "saved.state", "--set", "0=0.19", "--set",
                                 "1=0.6", "--set", "5=0.5"});
    EXPECT_EXIT_CODE(save, 0);
    EXPECT_NE(save.out.find("chunk  'elck' \"Complete Controls State\""), std::string::npos) << save.out;
    EXPECT_NE(save.out.find("chunk  'All '"), std::string::npos) << save.out;

    const RunResult load = Host({"state", "load", DelayBundle(), "saved.state", "--resave", "again.state"});
    EXPECT_EXIT_CODE(load, 0);
    EXPECT_NE(load.out.find("resave 'elck' \"Complete Controls State\": identical"), std::string::npos)
        << load.out;
    EXPECT_NE(load.out.find("resave 'All ': identical"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("identical to the file"), std::string::npos) << load.out;
    // What changed, from the fresh instance's defaults to the saved values.
    EXPECT_NE(load.out.find("3 of 7 parameters changed"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("->  0.1900 \"380"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("->  0.6000 \"60"), std::string::npos) << load.out;
    const std::vector<uint8_t> saved = ReadBytes(PathTo("saved.state"));
    ASSERT_GT(saved.size(), 28u);
    EXPECT_EQ(saved, ReadBytes(PathTo("again.state")));
}

TEST_F(State, TheStateOfOneLayoutRestoresIntoTheLayoutItWasSavedFrom)
{
    EXPECT_EXIT_CODE(
        Host({"state", "save", DelayBundle(), "mono.state", "--layout", "mono", "--set", "2=0.25"}), 0);
    const RunResult load = Host({"state", "load", DelayBundle(), "mono.state"});
    EXPECT_EXIT_CODE(load, 0);
    EXPECT_NE(load.out.find("(mono layout)"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("1 of 7 parameters changed"), std::string::npos) << load.out;
}

TEST_F(State, SaveAndLoadOfARealThirdPartyEffectRoundTrip)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    const std::string bundle = IemBundle();
    const RunResult save = Host({"state", "save", bundle, "iem.state", "--set", "2=0.3"});
    EXPECT_EXIT_CODE(save, 0);
    const RunResult load = Host({"state", "load", bundle, "iem.state", "--resave", "again.state"});
    EXPECT_EXIT_CODE(load, 0);
    EXPECT_NE(load.out.find("identical to the file"), std::string::npos) << load.out;
    EXPECT_EQ(ReadBytes(PathTo("iem.state")), ReadBytes(PathTo("again.state")));
}

TEST_F(State, AnEffectThatRewritesItsStateOnceInAnotherOrderLoadsWithoutAFalseFailure)
{
    const std::string bundle = BundleWith(OMBREL_E2E_REORDERING_EFFECT, "Reordering");
    EXPECT_EXIT_CODE(Host({"state", "save", bundle, "saved.state", "--set", "0=0.3"}), 0);
    const RunResult load = Host({"state", "load", bundle, "saved.state"});
    EXPECT_EXIT_CODE(load, 0);
    EXPECT_NE(load.out.find("NOT identical to the file"), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("identical to the second: the effect rewrote its state once"), std::string::npos)
        << load.out;
    EXPECT_NE(load.out.find("->  0.3000"), std::string::npos) << load.out;
}

} // namespace
} // namespace e2e
