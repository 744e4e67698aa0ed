// For tests that need a display (an X server, Xvfb in CI). Without one such a test skips
// on a developer's machine, but fails when the environment variable CI is set, so that a
// green CI run cannot hide display tests that never ran.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

inline bool test_display_available()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

inline bool test_running_in_ci()
{
    const char* ci = std::getenv("CI");
    return ci && *ci;
}

// Use at the top of a test body or SetUp(): returns from it when there is no display.
#define TAMBLE_REQUIRE_DISPLAY()                                                                             \
    do {                                                                                                     \
        if (!test_display_available()) {                                                                     \
            if (test_running_in_ci())                                                                        \
                FAIL() << "no display (DISPLAY is not set) and CI is set: run under xvfb-run";               \
            else                                                                                             \
                GTEST_SKIP() << "no display: run under xvfb-run";                                            \
        }                                                                                                    \
    } while (0)
