// Watches the heap allocations the calling thread makes while a probe lives: how many and
// the largest. For code that must not allocate (the mixer thread) and for decoders that must
// refuse a hostile size before they allocate for it. A test binary that uses it links
// tests/alloc_probe.cpp, which replaces the global operator new.
#pragma once

#include <cstddef>

class alloc_probe {
public:
    alloc_probe();
    ~alloc_probe();
    alloc_probe(const alloc_probe&) = delete;
    alloc_probe& operator=(const alloc_probe&) = delete;

    size_t count() const { return allocations; }
    size_t largest() const { return largest_bytes; }

    // Called by the replaced operator new.
    void note(size_t bytes);

private:
    alloc_probe* outer;
    size_t allocations = 0;
    size_t largest_bytes = 0;
};
