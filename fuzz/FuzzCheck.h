// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A property a fuzz target holds its input to: on failure, say which and
// stop, so the fuzzer keeps the input as a crasher.
#include <cstdio>
#include <cstdlib>

#define check(condition)                                                                 \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                \
        }                                                                                \
    } while (false)
