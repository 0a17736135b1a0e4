#pragma once
// Which thread may call what. Every function that more than one thread can reach carries one of
// these labels in its comment, and the label is a promise the caller keeps:
//
//   [host thread]              a thread of the host's own calling the module's entry points, the
//                              data-model and GUI objects and the processor's host-facing
//                              operations. Never the thread running the host's process procedure
//                              while that procedure runs. On Windows it is the host's main thread,
//                              which also pumps JUCE's messages.
//   [host thread, initialised] the same, and only between the object's Initialize and Uninitialize.
//   [audio thread]             the thread running the host's process procedure and everything under
//                              it: no allocation after the first block at a size, no lock but the
//                              processor's callback lock, no I/O. Never the message thread.
//   [message thread]           the thread dispatching JUCE's messages: timers and asynchronous
//                              calls. A `MessageThread` of the module's own on POSIX hosts.
//   [any thread]               safe from every thread, at the same time.
//
// The checks below state the two rules that a wrong thread would break without any other sign:
// JUCE timers and the refresh run only on the message thread, and the audio path never runs there.
// They cost one comparison in debug builds and nothing in release builds.

#include <juce_events/juce_events.h>

#include <cassert>

namespace threadchecks
{
// [any thread]
inline bool onMessageThread()
{
    return juce::MessageManager::existsAndIsCurrentThread();
}

// [any thread] The message thread, or any thread while no message manager exists: then no timer or
// asynchronous call can run, and whoever drives the processor by hand (a test) is its only caller.
inline bool onMessageThreadOrNoneRuns()
{
    return juce::MessageManager::getInstanceWithoutCreating() == nullptr || onMessageThread();
}
} // namespace threadchecks

#define OMBREL_ASSERT_MESSAGE_THREAD() assert(threadchecks::onMessageThread())
#define OMBREL_ASSERT_NOT_MESSAGE_THREAD() assert(!threadchecks::onMessageThread())
#define OMBREL_ASSERT_MESSAGE_THREAD_IF_RUNNING() assert(threadchecks::onMessageThreadOrNoneRuns())
