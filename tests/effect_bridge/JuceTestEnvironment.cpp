// Stops JUCE's timer thread at the end of a test program in which processors started timers
// without a message thread, so that it does not outlive JUCE's statics.

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

namespace
{

class JuceShutdown : public ::testing::Environment
{
public:
    void TearDown() override
    {
        if (juce::MessageManager::getInstanceWithoutCreating() == nullptr)
            juce::DeletedAtShutdown::deleteAll();
    }
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new JuceShutdown);

} // namespace
