#pragma once
// What the description registers as a factory: a new object handed to the host as its primary
// interface. The host releases it through its reference count.

#include <new>

namespace AAXClasses
{

// [host thread] A new Object as the Primary interface the host expects, or null when it cannot be
// made: nothing it throws reaches the host.
template <typename Primary, typename Object> void* newForHost()
{
    try
    {
        Primary* primary = new Object();
        return primary;
    }
    catch (...)
    {
        return nullptr;
    }
}

} // namespace AAXClasses
