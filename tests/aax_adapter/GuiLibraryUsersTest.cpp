// The count of users of the GUI library: the first use starts JUCE's message manager on a message
// thread of the module's own, the last stops it and deletes it again, repeatedly.

#include "aax_adapter/GuiLibraryUsers.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <atomic>
#include <chrono>
#include <thread>

using AAXClasses::GuiLibraryUse;
using AAXClasses::GuiLibraryUsers;

TEST(GuiLibraryUsers, TheFirstUseStartsTheMessageThreadAndTheLastStopsIt)
{
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        ASSERT_EQ(0, GuiLibraryUsers::count());
        ASSERT_EQ(nullptr, juce::MessageManager::getInstanceWithoutCreating());
        {
            const GuiLibraryUse first;
            juce::MessageManager* manager = juce::MessageManager::getInstanceWithoutCreating();
            ASSERT_NE(nullptr, manager);
            EXPECT_FALSE(manager->isThisTheMessageThread());
            {
                const GuiLibraryUse second;
                EXPECT_EQ(2, GuiLibraryUsers::count());
                EXPECT_EQ(manager, juce::MessageManager::getInstanceWithoutCreating());
            }
            EXPECT_EQ(1, GuiLibraryUsers::count());

            // Messages posted from here run on the message thread.
            std::atomic<bool> ran{false};
            juce::MessageManager::callAsync([&ran] { ran = true; });
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!ran && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            EXPECT_TRUE(ran);
        }
        EXPECT_EQ(0, GuiLibraryUsers::count());
        EXPECT_EQ(nullptr, juce::MessageManager::getInstanceWithoutCreating());
    }
    // Giving back more than was taken changes nothing.
    GuiLibraryUsers::release();
    EXPECT_EQ(0, GuiLibraryUsers::count());
}
