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
//                              it. The module's own code there allocates nothing and does no I/O; it
//                              waits for no other thread's long work, only for the one effect call of
//                              a chunk-form save or restore (see ProcessingExclusion). It enters
//                              JUCE's listener lock when the effect reports automation, and calls
//                              into the effect and the host's transport, whose costs are theirs.
//                              Never the message thread.
//   [message thread]           the thread dispatching JUCE's messages: timers and asynchronous
//                              calls. A `MessageThread` of the module's own on POSIX hosts.
//   [any thread]               safe from every thread, at the same time.
//
// The process procedure marks its thread as the audio thread for as long as it runs (AudioPathScope),
// which lets debug builds check the labels at the boundaries where a wrong thread is a bug, and lets
// a debug build of the module stop at any allocation its own code makes on the audio path
// (AudioPathAllocationGuard.cpp). The message-thread checks ask JUCE's message manager, which takes
// a lock; none of these checks exist in release builds.

#include "platform/NonCopyable.h"

#include <juce_events/juce_events.h>

#include <cassert>

namespace threadchecks
{

// Set on a thread while it runs the host's process procedure; read by the checks and the allocation
// guard. Trivially typed, and where the module is an ELF library placed in the static thread-local
// block, so that the first block on a new host thread does not make the dynamic linker allocate
// the module's thread-local storage (and each access is one load).
#if defined(__ELF__)
__attribute__((tls_model("initial-exec"))) inline thread_local bool inAudioPath = false;
#else
inline thread_local bool inAudioPath = false;
#endif

// [audio thread] Marks the calling thread as the audio thread until destroyed; nests.
class AudioPathScope : private NonCopyable
{
public:
    AudioPathScope() : outer(inAudioPath) { inAudioPath = true; }
    ~AudioPathScope() { inAudioPath = outer; }

private:
    const bool outer;
};

// [any thread]
inline bool onAudioThread()
{
    return inAudioPath;
}

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

#define OMBREL_ASSERT_AUDIO_THREAD() assert(threadchecks::onAudioThread())
#define OMBREL_ASSERT_NOT_AUDIO_THREAD() assert(!threadchecks::onAudioThread())
#define OMBREL_ASSERT_MESSAGE_THREAD() assert(threadchecks::onMessageThread())
#define OMBREL_ASSERT_NOT_MESSAGE_THREAD() assert(!threadchecks::onMessageThread())
#define OMBREL_ASSERT_MESSAGE_THREAD_IF_RUNNING() assert(threadchecks::onMessageThreadOrNoneRuns())
