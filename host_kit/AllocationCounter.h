#pragma once
// Counts the heap allocations one thread makes while it holds a counting window open: operator new
// in every form and, where the C library allows replacing them (glibc, outside sanitizer builds),
// malloc, calloc, realloc, aligned_alloc, posix_memalign and memalign as well.
//
// A program counts by linking the object library `ombrel_allocation_counter`: the replacements must
// be part of the executable itself, so that the module and the effect it loads at run time resolve
// their allocations to them.

#include "platform/NonCopyable.h"

#include <cstddef>

namespace testhost
{

struct AllocationCount
{
    long allocations = 0;
    std::size_t bytes = 0;
};

// Whether malloc and its relatives are counted in this build, not only operator new.
bool countsCLibraryAllocations();

// [any thread] Counts this thread's allocations from construction on; the other threads of the
// process are not counted. Windows do not nest.
class AllocationCountingWindow : private NonCopyable
{
public:
    AllocationCountingWindow();
    ~AllocationCountingWindow();

    // [the thread that opened the window] What was allocated since the window opened (or since the
    // last restart).
    AllocationCount count() const;
    // [the thread that opened the window] Starts the count again from zero.
    void restart();
};

} // namespace testhost
