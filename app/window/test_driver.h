// The headless test driver: a virtual frame clock that advances by a fixed time per buffer
// swap, scripted input events injected by frame number through the window's event path,
// PNG captures of chosen frames, and a frame limit after which the pump reports a quit.
#pragma once

#include "app/clock.h"
#include "app/driver_script.h"

#include <string>
#include <vector>

class glw_window;

class glw_test_driver {
public:
    driver_options options;
    driver_script script;
    // Frames completed so far (buffer swaps); events for frame N are injected once N
    // frames have been swapped.
    int64_t frame = 0;
    size_t next_event = 0;
    // The virtual clock: counter ticks at `virtual_frequency` per second.
    int64_t virtual_ticks = 0;
    perf_clock_source virtual_clock;
    std::vector<std::string> captures_written;

    static constexpr uint64_t virtual_frequency = 10800000;  // a multiple of 60 and of 180

    glw_test_driver();
    ~glw_test_driver();
    glw_test_driver(const glw_test_driver&) = delete;
    glw_test_driver& operator=(const glw_test_driver&) = delete;

    // Loads the script, attaches to the window, and when the frame time is fixed puts the
    // frame timer and the wall clock of animations on the virtual clock. False with a
    // message when the script cannot be read.
    bool start(glw_window& window, const driver_options& options, std::string& error);
    // Detaches from the window and gives the frame timer its system clock back.
    void stop();

    void before_swap(glw_window& window);
    void after_swap(glw_window& window);
    bool finished() const { return options.frame_limit >= 0 && frame >= options.frame_limit; }

private:
    glw_window* attached = nullptr;
    void inject_due_events(glw_window& window);
};

// Reads the back buffer of the current GL context into rows top to bottom, 3 bytes a pixel.
bool glw_read_pixels(int32_t width, int32_t height, std::vector<uint8_t>& rgb);
