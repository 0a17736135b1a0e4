#include "host_kit/MessagePump.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <thread>
#endif

namespace testhost
{

void WaitServingMessages(std::chrono::milliseconds duration)
{
#ifdef _WIN32
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + duration;
    while (true)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE)
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const auto now = Clock::now();
        if (now >= deadline)
            return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
#else
    std::this_thread::sleep_for(duration);
#endif
}

} // namespace testhost
