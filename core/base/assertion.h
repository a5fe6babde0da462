#pragma once

#include <cstdio>
#include <cstdlib>

// Programming errors (bad index, null out-pointer, zero-length normalise) stop the program with the
// failed condition as the message. Unlike assert() this stays active in release builds, because a
// broken precondition must never turn into a silently wrong measurement result.
[[noreturn]] inline void Quillon_Assert_Failed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "ASSERT: \"%s\" in file %s, line %d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

#define QUILLON_ASSERT(condition)                                                                            \
    ((condition) ? static_cast<void>(0) : Quillon_Assert_Failed(#condition, __FILE__, __LINE__))
