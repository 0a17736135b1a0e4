#pragma once
// The way from the effect's automation reports to the host's automation delegate. The data-model
// object and the delivery timer share it, so that neither waits for the other: a host whose
// delegate answers only on its main thread may be uninitialising or deleting the instance on that
// main thread while the message thread's call waits for it. Teardown therefore only disconnects;
// the call under way keeps everything it uses (this object, the host link and its delegate
// wrapper) alive until it returns, and makes no further host call after it.
//
// Reports go to the host as touch, set-value request and release of the published parameter, the
// way the parameter itself posts a value set from the plug-in side; the value is the one the
// published parameter would hold (a switch's 0 or 1).

#include "aax_adapter/AutomationQueue.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class IACFUnknown;

namespace AAXClasses
{

class AutomationDelivery : private NonCopyable
{
public:
    // [host thread] Reports for parameters 0 .. parameterCount - 1 wait in a queue of ringCapacity.
    AutomationDelivery(int32_t parameterCount, uint32_t ringCapacity);
    ~AutomationDelivery();

    // [host thread] Reports reach the host's automation delegate, asked of controller (borrowed),
    // from now on; publishedAsSwitch holds, per published processor parameter, whether it is a
    // switch. Indices from its size on are not published and never reported.
    void connect(IACFUnknown* controller, std::vector<bool> publishedAsSwitch);
    // [host thread] No report reaches the host from now on, and queued ones wait for the next
    // connection. Never waits: a host call under way finishes on its own thread.
    void disconnect();

    // [audio thread] Queues one report for the message thread (see AutomationQueue::push).
    void push(int32_t index, float value) { queue.push(index, value); }
    // [message thread] Hands every queued report to the host, in order; while disconnected they wait.
    void deliverQueued();
    // [any thread but the audio thread] One report to the host at once; nothing while disconnected.
    void post(int32_t index, float value);

private:
    struct Link;
    // [any thread] The current connection, or null.
    std::shared_ptr<Link> currentLink() const;
    static void postThrough(Link& link, int32_t index, float value);

    AutomationQueue queue;
    // Held only to read or replace the pointer, never across a host call.
    mutable std::mutex linkLock;
    std::shared_ptr<Link> link;
};

} // namespace AAXClasses
