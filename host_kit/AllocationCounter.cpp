#include "host_kit/AllocationCounter.h"

#include <cerrno>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define OMBREL_COUNT_C_LIBRARY 1
#else
// The sanitizers' runtimes own malloc; replacing it under them would hand out memory they do not
// know. Other C libraries give no way to reach the real allocator behind a replacement.
#define OMBREL_COUNT_C_LIBRARY 0
#endif

#if OMBREL_COUNT_C_LIBRARY
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void* __libc_memalign(std::size_t, std::size_t);
#endif

namespace
{

// Thread-local and trivially typed, so reading them inside malloc allocates nothing itself.
thread_local bool countingOnThisThread = false;
thread_local long allocationsOnThisThread = 0;
thread_local std::size_t bytesOnThisThread = 0;

inline void noteAllocation(std::size_t size) noexcept
{
    if (countingOnThisThread)
    {
        ++allocationsOnThisThread;
        bytesOnThisThread += size;
    }
}

// The allocator behind operator new, reached without passing through the counted malloc, so that
// one allocation counts once.
void* allocateUncounted(std::size_t size) noexcept
{
#if OMBREL_COUNT_C_LIBRARY
    return __libc_malloc(size == 0 ? 1 : size);
#else
    return std::malloc(size == 0 ? 1 : size);
#endif
}

void* allocateAlignedUncounted(std::size_t size, std::size_t alignment) noexcept
{
    if (alignment < sizeof(void*))
        alignment = sizeof(void*);
#if OMBREL_COUNT_C_LIBRARY
    return __libc_memalign(alignment, size == 0 ? 1 : size);
#elif defined(_WIN32)
    return _aligned_malloc(size == 0 ? 1 : size, alignment);
#else
    const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    return std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded);
#endif
}

void releaseAligned(void* memory) noexcept
{
#if defined(_WIN32) && !OMBREL_COUNT_C_LIBRARY
    _aligned_free(memory);
#else
    std::free(memory);
#endif
}

void* countedNew(std::size_t size)
{
    noteAllocation(size);
    if (void* memory = allocateUncounted(size))
        return memory;
    throw std::bad_alloc();
}

void* countedNewNoThrow(std::size_t size) noexcept
{
    noteAllocation(size);
    return allocateUncounted(size);
}

void* countedAlignedNew(std::size_t size, std::align_val_t alignment)
{
    noteAllocation(size);
    if (void* memory = allocateAlignedUncounted(size, static_cast<std::size_t>(alignment)))
        return memory;
    throw std::bad_alloc();
}

void* countedAlignedNewNoThrow(std::size_t size, std::align_val_t alignment) noexcept
{
    noteAllocation(size);
    return allocateAlignedUncounted(size, static_cast<std::size_t>(alignment));
}

} // namespace

namespace testhost
{

bool countsCLibraryAllocations()
{
    return OMBREL_COUNT_C_LIBRARY != 0;
}

AllocationCountingWindow::AllocationCountingWindow()
{
    restart();
    countingOnThisThread = true;
}

AllocationCountingWindow::~AllocationCountingWindow()
{
    countingOnThisThread = false;
}

AllocationCount AllocationCountingWindow::count() const
{
    return {allocationsOnThisThread, bytesOnThisThread};
}

void AllocationCountingWindow::restart()
{
    allocationsOnThisThread = 0;
    bytesOnThisThread = 0;
}

} // namespace testhost

// The whole set of global allocation functions is replaced, so that every allocation and release
// pair up under the sanitizers too. Kept out of line: inlined into a new/delete pair, the compiler
// could see through to malloc and free and pair those itself.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    return countedNew(size);
}
__attribute__((noinline)) void* operator new[](std::size_t size)
{
    return countedNew(size);
}
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return countedNewNoThrow(size);
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return countedNewNoThrow(size);
}
__attribute__((noinline)) void* operator new(std::size_t size, std::align_val_t alignment)
{
    return countedAlignedNew(size, alignment);
}
__attribute__((noinline)) void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return countedAlignedNew(size, alignment);
}
__attribute__((noinline)) void* operator new(std::size_t size, std::align_val_t alignment,
                                             const std::nothrow_t&) noexcept
{
    return countedAlignedNewNoThrow(size, alignment);
}
__attribute__((noinline)) void* operator new[](std::size_t size, std::align_val_t alignment,
                                               const std::nothrow_t&) noexcept
{
    return countedAlignedNewNoThrow(size, alignment);
}

__attribute__((noinline)) void operator delete(void* memory) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::align_val_t) noexcept
{
    releaseAligned(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, std::align_val_t) noexcept
{
    releaseAligned(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
    releaseAligned(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept
{
    releaseAligned(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept
{
    releaseAligned(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, std::align_val_t,
                                                 const std::nothrow_t&) noexcept
{
    releaseAligned(memory);
}

#if OMBREL_COUNT_C_LIBRARY
// JUCE's containers and many effects allocate with the C library directly.
extern "C" void* malloc(std::size_t size)
{
    noteAllocation(size);
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size)
{
    noteAllocation(count * size);
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* memory, std::size_t size)
{
    noteAllocation(size);
    return __libc_realloc(memory, size);
}

extern "C" void* memalign(std::size_t alignment, std::size_t size)
{
    noteAllocation(size);
    return __libc_memalign(alignment, size);
}

extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    noteAllocation(size);
    return __libc_memalign(alignment, size);
}

extern "C" int posix_memalign(void** memory, std::size_t alignment, std::size_t size)
{
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    noteAllocation(size);
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr)
        return ENOMEM;
    *memory = block;
    return 0;
}
#endif
