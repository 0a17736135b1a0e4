#include "aax_adapter/AutomationDelivery.h"

#include "aax_adapter/ParameterIdentifiers.h"
#include "aax_adapter/ProcessorParameterFactory.h"
#include "aax_library/AAX_VAutomationDelegate.h"
#include "effect_bridge/ThreadChecks.h"

#include <utility>

namespace AAXClasses
{

// One connection to the host: its delegate wrapper, owned here so that a call under way outlives
// the data-model object's own wrappers, and whether reports may still go out through it.
struct AutomationDelivery::Link : private NonCopyable
{
    Link(IACFUnknown* controller, std::vector<bool> switches)
        : delegate(controller), publishedAsSwitch(std::move(switches))
    {
    }

    AAX_VAutomationDelegate delegate;
    const std::vector<bool> publishedAsSwitch;
    std::atomic<bool> open{true};
};

AutomationDelivery::AutomationDelivery(int32_t parameterCount, uint32_t ringCapacity)
    : queue(parameterCount, ringCapacity)
{
}

AutomationDelivery::~AutomationDelivery() = default;

void AutomationDelivery::connect(IACFUnknown* controller, std::vector<bool> publishedAsSwitch)
{
    auto connected = std::make_shared<Link>(controller, std::move(publishedAsSwitch));
    std::shared_ptr<Link> previous;
    {
        const std::lock_guard<std::mutex> guard(linkLock);
        previous = std::exchange(link, std::move(connected));
    }
    if (previous != nullptr)
        previous->open = false;
}

void AutomationDelivery::disconnect()
{
    std::shared_ptr<Link> previous;
    {
        const std::lock_guard<std::mutex> guard(linkLock);
        previous = std::exchange(link, nullptr);
    }
    // A call under way sees this before its next host call; the link goes with its last user.
    if (previous != nullptr)
        previous->open = false;
}

std::shared_ptr<AutomationDelivery::Link> AutomationDelivery::currentLink() const
{
    const std::lock_guard<std::mutex> guard(linkLock);
    return link;
}

void AutomationDelivery::deliverQueued()
{
    OMBREL_ASSERT_MESSAGE_THREAD();
    const std::shared_ptr<Link> current = currentLink();
    if (current == nullptr)
        return;
    queue.drain([&](const AutomationQueue::Report& report)
                { postThrough(*current, report.index, report.value); });
}

void AutomationDelivery::post(int32_t index, float value)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    if (const std::shared_ptr<Link> current = currentLink())
        postThrough(*current, index, value);
}

void AutomationDelivery::postThrough(Link& link, int32_t index, float value)
{
    if (index < 0 || static_cast<size_t>(index) >= link.publishedAsSwitch.size())
        return;
    const IndexText id(index);
    const double requested = publishedValueOf(value, link.publishedAsSwitch[static_cast<size_t>(index)]);
    try
    {
        // Each call may wait long in the host (for its main thread); teardown in between stops the
        // rest of the report rather than call a host that is done with the instance.
        if (!link.open)
            return;
        link.delegate.PostTouchRequest(id.text);
        if (!link.open)
            return;
        link.delegate.PostSetValueRequest(id.text, requested);
        if (!link.open)
            return;
        link.delegate.PostReleaseRequest(id.text);
    }
    catch (...)
    {
        // Nothing the host throws unwinds into the effect or the message loop.
    }
}

} // namespace AAXClasses
