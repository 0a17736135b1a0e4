// The reference host's render command: a file played through the module's process procedure,
// checked sample by sample against what the example delay's settings promise.

#include "HostFixture.h"

#include <cmath>

namespace e2e
{
namespace
{

using Render = HostFixture;

constexpr int kClick = 4800; // the first click of a generated file, at 0.1 s
constexpr float kTolerance = 1e-4f;

// The largest absolute sample in [from, to), leaving out the listed positions.
float LargestOutside(const juce::AudioBuffer<float>& buffer, int channel, int from, int to,
                     std::initializer_list<int> skip)
{
    float largest = 0.0f;
    for (int i = std::max(from, 0); i < std::min(to, buffer.getNumSamples()); ++i)
    {
        bool skipped = false;
        for (int s : skip)
            skipped |= std::abs(i - s) <= 1;
        if (!skipped)
            largest = std::max(largest, std::abs(buffer.getSample(channel, i)));
    }
    return largest;
}

// Delay settings written at the start: the time as a normalised value (2000 ms span), 50 %
// feedback, 50 % mix, the high cut open.
std::vector<std::string> DelaySettings(const std::string& time)
{
    return {"--set", "0=" + time, "--set", "1=0.5", "--set", "2=0.5", "--set", "5=1"};
}

TEST_F(Render, EchoesOfAClickLandWhereTheDelayTimeSays)
{
    const std::string input = Clicks("clicks.wav", 2, 2.0, 10.0);
    std::vector<std::string> arguments = {"render", DelayBundle(), input, "out.wav"};
    const auto settings = DelaySettings("0.05"); // 100 ms: 4800 samples at 48 kHz
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    const RunResult run = Host(arguments);
    EXPECT_EXIT_CODE(run, 0);

    double rate = 0.0;
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"), &rate);
    EXPECT_EQ(rate, kRate);
    ASSERT_EQ(output.getNumChannels(), 2);
    ASSERT_EQ(output.getNumSamples(), 96000);
    constexpr int kEcho = 4800;
    for (int channel = 0; channel < 2; ++channel)
    {
        // Half the click dry, then echoes of 0.5, 0.25, 0.125 every 100 ms, and nothing else.
        EXPECT_NEAR(output.getSample(channel, kClick), 0.5f, kTolerance);
        EXPECT_NEAR(output.getSample(channel, kClick + kEcho), 0.5f, kTolerance);
        EXPECT_NEAR(output.getSample(channel, kClick + 2 * kEcho), 0.25f, kTolerance);
        EXPECT_NEAR(output.getSample(channel, kClick + 3 * kEcho), 0.125f, kTolerance);
        EXPECT_LT(LargestOutside(output, channel, 0, kClick + 4 * kEcho - 2,
                                 {kClick, kClick + kEcho, kClick + 2 * kEcho, kClick + 3 * kEcho}),
                  kTolerance);
    }
    EXPECT_NE(run.out.find("change   0 = 0.0500 \"100"), std::string::npos) << run.out;
    // The module's audio-path counts, read back from it: nothing saved or sent MIDI meanwhile.
    EXPECT_NE(run.out.find("audio    0 blocks passed through during a program sweep, 0 MIDI events dropped\n"),
              std::string::npos)
        << run.out;
}

TEST_F(Render, TempoSyncedEchoesFollowTheHostTempo)
{
    const std::string input = Clicks("clicks.wav", 2, 2.0, 10.0);
    // Sync on, a quarter note (the fifth of eight ranges), at 90 BPM: 666.7 ms, 32000 samples.
    std::vector<std::string> arguments = {"render", DelayBundle(), input, "out.wav", "--tempo",
                                          "90",     "--set",       "3=1", "--set",   "4=0.5625"};
    const auto settings = DelaySettings("0.05");
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    const RunResult run = Host(arguments);
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"));
    ASSERT_EQ(output.getNumChannels(), 2);
    constexpr int kEcho = 32000;
    EXPECT_NEAR(output.getSample(0, kClick), 0.5f, kTolerance);
    EXPECT_NEAR(output.getSample(0, kClick + kEcho), 0.5f, kTolerance);
    EXPECT_NEAR(output.getSample(0, kClick + 2 * kEcho), 0.25f, kTolerance);
    EXPECT_LT(
        LargestOutside(output, 0, 0, output.getNumSamples(), {kClick, kClick + kEcho, kClick + 2 * kEcho}),
        kTolerance);
    EXPECT_NE(run.out.find("tempo 90 BPM 4/4, transport playing"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"1/4\""), std::string::npos) << run.out;
}

TEST_F(Render, AParameterChangeHalfWayMovesTheLaterEchoes)
{
    // Clicks at 0.1 s and 2.1 s; the time goes from 250 ms to 500 ms at 2.0 s.
    const std::string input = Clicks("clicks.wav", 1, 4.0, 2.0);
    std::vector<std::string> arguments = {"render", DelayBundle(), input,    "out.wav",
                                          "--set",  "0=0.25@2.0",  "--plot", "out.png"};
    const auto settings = DelaySettings("0.125");
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    const RunResult run = Host(arguments);
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"));
    ASSERT_EQ(output.getNumChannels(), 1); // a mono file picks the mono layout
    constexpr int kSecondClick = 100800;
    EXPECT_NEAR(output.getSample(0, kClick + 12000), 0.5f, kTolerance);
    EXPECT_NEAR(output.getSample(0, kSecondClick), 0.5f, 0.01f);
    EXPECT_NEAR(output.getSample(0, kSecondClick + 24000), 0.5f, 0.01f);
    EXPECT_LT(std::abs(output.getSample(0, kSecondClick + 12000)), 0.01f);
    // The write lands on the first block boundary at or after 2.0 s (block 512: sample 96256).
    EXPECT_NE(run.out.find("change   0 = 0.2500 \"500"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("at 2.005 s (block boundary at sample 96256)"), std::string::npos) << run.out;
    const juce::Image plot = ReadImage(PathTo("out.png"));
    EXPECT_GT(plot.getWidth(), 1000);
    EXPECT_GT(ColourCount(plot), 50u);
}

TEST_F(Render, ABypassSpanPassesTheInputThroughUntouched)
{
    const std::string input = Clicks("clicks.wav", 2, 4.0, 2.0);
    std::vector<std::string> arguments = {"render", DelayBundle(), input, "out.wav", "--bypass", "1.0-3.0"};
    const auto settings = DelaySettings("0.125");
    arguments.insert(arguments.end(), settings.begin(), settings.end());
    const RunResult run = Host(arguments);
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"));
    constexpr int kSecondClick = 100800;
    // From the boundary after 1.0 s (48128) to the one after 3.0 s (144384): the input itself.
    for (int channel = 0; channel < 2; ++channel)
    {
        EXPECT_EQ(output.getSample(channel, kSecondClick), 1.0f);
        EXPECT_EQ(LargestOutside(output, channel, 48128, 144384, {kSecondClick}), 0.0f);
        EXPECT_NEAR(output.getSample(channel, kClick + 12000), 0.5f, kTolerance);
    }
    EXPECT_NE(run.out.find("change   MasterBypassID = 1.0000 \"on\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("change   MasterBypassID = 0.0000 \"bypass\""), std::string::npos) << run.out;
}

TEST_F(Render, MonoToStereoGivesTwoOutputChannelsAndPrintsLevelsPerChannel)
{
    const std::string input = Clicks("clicks.wav", 1, 1.0, 10.0);
    const RunResult run =
        Host({"render", DelayBundle(), input, "out.wav", "--layout", "mono-stereo", "--block", "256"});
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"));
    ASSERT_EQ(output.getNumChannels(), 2);
    // The Default program (250 ms, 12000 samples) on both outputs of the one input.
    for (int channel = 0; channel < 2; ++channel)
    {
        EXPECT_NEAR(output.getSample(channel, kClick), 0.5f, kTolerance);
        EXPECT_NEAR(output.getSample(channel, kClick + 12000), 0.5f, kTolerance);
    }
    EXPECT_NE(run.out.find("mono-stereo layout, block 256"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("levels   channel  input peak      input RMS       output peak     output RMS"),
              std::string::npos)
        << run.out;
    // Input channel 1 holds a full-scale click; the host prints its peak as 0 dBFS.
    EXPECT_NE(run.out.find("         1        0.00 dBFS"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("         2        -               -"), std::string::npos) << run.out;
}

TEST_F(Render, ATailLetsTheEchoesRingOutAndTheProgressBarReachesTheEnd)
{
    const std::string input = Clicks("clicks.wav", 2, 0.5, 10.0);
    const RunResult run = Host({"render", DelayBundle(), input, "out.wav", "--tail", "0.5", "--progress"});
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("out.wav"));
    ASSERT_EQ(output.getNumSamples(), 48000);
    // The Default program's second echo (500 ms after the click) lies in the tail.
    EXPECT_NEAR(output.getSample(0, kClick + 24000), 0.25f, kTolerance);
    EXPECT_NE(run.err.find("rendering [########################################] 100 %"), std::string::npos)
        << run.err;
}

TEST_F(Render, ARealThirdPartyEffectChangesTheSignal)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    const std::string input = Clicks("clicks.wav", 2, 3.0, 1.0);
    const RunResult run = Host({"render", IemBundle(), input, "out.wav", "--plot", "out.png"});
    EXPECT_EXIT_CODE(run, 0);
    const juce::AudioBuffer<float> in = ReadAudio(input);
    const juce::AudioBuffer<float> out = ReadAudio(PathTo("out.wav"));
    ASSERT_EQ(out.getNumChannels(), 2);
    ASSERT_EQ(out.getNumSamples(), in.getNumSamples());
    double difference = 0.0, energy = 0.0;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < out.getNumSamples(); ++i)
        {
            const float sample = out.getSample(c, i);
            ASSERT_TRUE(std::isfinite(sample));
            difference += std::abs(sample - in.getSample(c, i));
            energy += sample * sample;
        }
    EXPECT_GT(energy, 0.0);
    EXPECT_GT(difference, 0.01);
}

} // namespace
} // namespace e2e
