#pragma once
// What a fuzz target asserts about the code it drives. A failed check names itself on standard error
// and aborts, which libFuzzer reports as a crash with the input that caused it, and which fails the
// replay test of the normal build the same way.

#include <cstdio>
#include <cstdlib>

#define OMBREL_FUZZ_CHECK(condition)                                                                  \
    do                                                                                                \
    {                                                                                                 \
        if (!(condition))                                                                             \
        {                                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);       \
            std::abort();                                                                             \
        }                                                                                             \
    } while (false)
