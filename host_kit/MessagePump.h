#pragma once
// Waiting as a host's main thread waits. On Windows the module's framework lives on the thread that
// first used it (the host's main thread), so its timers and posted messages run only while that
// thread serves its message queue; elsewhere the module runs its own message thread and a plain
// sleep is enough.

#include <chrono>

namespace testhost
{

// [host thread] returns after `duration`, having dispatched this thread's messages meanwhile.
void WaitServingMessages(std::chrono::milliseconds duration);

} // namespace testhost
