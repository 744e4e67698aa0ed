// The world step allocates nothing once a scene has settled: the all-pairs buffer, the
// contact list and the contacts' sorted order are kept between steps. This binary counts
// every operator new of the process.
#include "physics/scenes/scenes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

TEST(physics_allocation, settled_scenes_step_without_allocating)
{
    for (int scene = 0; scene < 2; ++scene) {
        v_world w;
        if (scene == 0)
            scene_stress(w);
        else
            scene_box_stack(w, 3);
        for (int i = 0; i < 3 * 180; ++i)
            w.step();
        ASSERT_GT(w.contacts.size(), 1u) << "scene " << scene;  // the sort has work to do
        long before = allocations.load();
        for (int i = 0; i < 180; ++i)
            w.step();
        EXPECT_EQ(allocations.load() - before, 0) << "scene " << scene;
    }
}

}  // namespace
