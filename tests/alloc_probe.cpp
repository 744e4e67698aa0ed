// The global operator new of a test binary, reporting to the thread's innermost probe.
#include "tests/alloc_probe.h"

#include <cstdlib>
#include <new>

namespace {

thread_local alloc_probe* active = nullptr;

void* allocate(size_t bytes)
{
    if (active)
        active->note(bytes);
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

}  // namespace

alloc_probe::alloc_probe() : outer(active)
{
    active = this;
}

alloc_probe::~alloc_probe()
{
    active = outer;
}

void alloc_probe::note(size_t bytes)
{
    ++allocations;
    if (bytes > largest_bytes)
        largest_bytes = bytes;
}

void* operator new(size_t bytes)
{
    return allocate(bytes);
}

void* operator new[](size_t bytes)
{
    return allocate(bytes);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}
