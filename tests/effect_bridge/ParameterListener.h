#pragma once
// Records what a processor tells its listeners (the adapter's role).

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

class ParameterListener : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        const std::lock_guard<std::mutex> guard(lock);
        changes.emplace_back(index, value);
        if (index == 0)
            ++refreshesSeen;
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override { ++processorChanges; }

    std::vector<std::pair<int, float>> snapshot() const
    {
        const std::lock_guard<std::mutex> guard(lock);
        return changes;
    }

    std::atomic<int> refreshesSeen{0}; // notifications for parameter 0: one per refresh
    std::atomic<int> processorChanges{0};

private:
    mutable std::mutex lock;
    std::vector<std::pair<int, float>> changes;
};
