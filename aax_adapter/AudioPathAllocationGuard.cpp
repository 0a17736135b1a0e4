// Debug builds of the module stop at the first allocation the module's own code makes on the audio
// path. The module is linked with every allocation function wrapped (the linker's --wrap), so that
// each call from the module's code, JUCE's inside it included, comes here first; a call made while
// the calling thread runs the process procedure writes what happened and aborts. Calls from the
// effect and the host go straight to the allocator: their allocations are theirs. Release builds
// neither compile this file nor wrap anything.

#include "effect_bridge/ThreadChecks.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace
{

[[noreturn]] void stopAtAudioPathAllocation(const char* function)
{
    // Nothing here may allocate: the message goes out with plain writes.
    constexpr const char prefix[] = "Ombrel: allocation on the audio path: ";
    (void)!::write(STDERR_FILENO, prefix, sizeof(prefix) - 1);
    (void)!::write(STDERR_FILENO, function, std::strlen(function));
    (void)!::write(STDERR_FILENO, "\n", 1);
    std::abort();
}

inline void checkAllocation(const char* function)
{
    if (threadchecks::onAudioThread())
        stopAtAudioPathAllocation(function);
}

} // namespace

// The wrapped names are the allocators' link names: the C library's and the Itanium C++ ABI's
// mangled operator new variants (throwing, nothrow, aligned).
extern "C"
{
    void* __real_malloc(std::size_t size);
    void* __real_calloc(std::size_t count, std::size_t size);
    void* __real_realloc(void* memory, std::size_t size);
    void* __real_aligned_alloc(std::size_t alignment, std::size_t size);
    int __real_posix_memalign(void** memory, std::size_t alignment, std::size_t size);
    void* __real__Znwm(std::size_t size);
    void* __real__Znam(std::size_t size);
    void* __real__ZnwmRKSt9nothrow_t(std::size_t size, const void* tag);
    void* __real__ZnamRKSt9nothrow_t(std::size_t size, const void* tag);
    void* __real__ZnwmSt11align_val_t(std::size_t size, std::size_t alignment);
    void* __real__ZnamSt11align_val_t(std::size_t size, std::size_t alignment);
    void* __real__ZnwmSt11align_val_tRKSt9nothrow_t(std::size_t size, std::size_t alignment, const void* tag);
    void* __real__ZnamSt11align_val_tRKSt9nothrow_t(std::size_t size, std::size_t alignment, const void* tag);

    void* __wrap_malloc(std::size_t size)
    {
        checkAllocation("malloc");
        return __real_malloc(size);
    }
    void* __wrap_calloc(std::size_t count, std::size_t size)
    {
        checkAllocation("calloc");
        return __real_calloc(count, size);
    }
    void* __wrap_realloc(void* memory, std::size_t size)
    {
        checkAllocation("realloc");
        return __real_realloc(memory, size);
    }
    void* __wrap_aligned_alloc(std::size_t alignment, std::size_t size)
    {
        checkAllocation("aligned_alloc");
        return __real_aligned_alloc(alignment, size);
    }
    int __wrap_posix_memalign(void** memory, std::size_t alignment, std::size_t size)
    {
        checkAllocation("posix_memalign");
        return __real_posix_memalign(memory, alignment, size);
    }
    void* __wrap__Znwm(std::size_t size)
    {
        checkAllocation("operator new");
        return __real__Znwm(size);
    }
    void* __wrap__Znam(std::size_t size)
    {
        checkAllocation("operator new[]");
        return __real__Znam(size);
    }
    void* __wrap__ZnwmRKSt9nothrow_t(std::size_t size, const void* tag)
    {
        checkAllocation("operator new (nothrow)");
        return __real__ZnwmRKSt9nothrow_t(size, tag);
    }
    void* __wrap__ZnamRKSt9nothrow_t(std::size_t size, const void* tag)
    {
        checkAllocation("operator new[] (nothrow)");
        return __real__ZnamRKSt9nothrow_t(size, tag);
    }
    void* __wrap__ZnwmSt11align_val_t(std::size_t size, std::size_t alignment)
    {
        checkAllocation("operator new (aligned)");
        return __real__ZnwmSt11align_val_t(size, alignment);
    }
    void* __wrap__ZnamSt11align_val_t(std::size_t size, std::size_t alignment)
    {
        checkAllocation("operator new[] (aligned)");
        return __real__ZnamSt11align_val_t(size, alignment);
    }
    void* __wrap__ZnwmSt11align_val_tRKSt9nothrow_t(std::size_t size, std::size_t alignment, const void* tag)
    {
        checkAllocation("operator new (aligned, nothrow)");
        return __real__ZnwmSt11align_val_tRKSt9nothrow_t(size, alignment, tag);
    }
    void* __wrap__ZnamSt11align_val_tRKSt9nothrow_t(std::size_t size, std::size_t alignment, const void* tag)
    {
        checkAllocation("operator new[] (aligned, nothrow)");
        return __real__ZnamSt11align_val_tRKSt9nothrow_t(size, alignment, tag);
    }
}
