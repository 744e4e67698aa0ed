// Reference counting for shared resources: the `ref_counter` base and the intrusive
// counted pointer `ref_ptr<T>` that holds it. Textures, samples, types and chunk
// references are all shared this way; the last holder to let go destroys the object.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

// Base of every shared object. The count starts at 0: whoever makes the object hands it
// to a `ref_ptr`, which takes the first reference. The count is atomic because the sound
// thread drops samples while the main thread fetches them.
class ref_counter {
public:
    ref_counter() = default;
    virtual ~ref_counter() = default;
    // A copy is a new object: it starts unreferenced whatever the source's count.
    ref_counter(const ref_counter&) {}
    ref_counter& operator=(const ref_counter&) { return *this; }

    void add_ref() const { ref_count.fetch_add(1, std::memory_order_relaxed); }
    // Drops one reference and destroys the object when it was the last.
    void release() const
    {
        if (ref_count.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    uint32_t refs() const { return ref_count.load(std::memory_order_relaxed); }

private:
    mutable std::atomic<uint32_t> ref_count{0};
};

// Intrusive counted pointer. Copying takes a reference; assignment takes the new one
// before dropping the old, so assigning a pointer to itself is safe.
template <class T>
class ref_ptr {
public:
    ref_ptr() = default;
    ref_ptr(std::nullptr_t) {}
    ref_ptr(T* p) : ptr(p)
    {
        if (ptr)
            ptr->add_ref();
    }
    ref_ptr(const ref_ptr& o) : ptr(o.ptr)
    {
        if (ptr)
            ptr->add_ref();
    }
    ref_ptr(ref_ptr&& o) noexcept : ptr(o.ptr) { o.ptr = nullptr; }
    template <class U>
    ref_ptr(const ref_ptr<U>& o) : ptr(o.get())
    {
        if (ptr)
            ptr->add_ref();
    }
    ~ref_ptr()
    {
        if (ptr)
            ptr->release();
    }

    ref_ptr& operator=(const ref_ptr& o) { return *this = o.ptr; }
    ref_ptr& operator=(ref_ptr&& o) noexcept
    {
        if (this != &o) {
            T* old = ptr;
            ptr = o.ptr;
            o.ptr = nullptr;
            if (old)
                old->release();
        }
        return *this;
    }
    ref_ptr& operator=(T* p)
    {
        if (p)
            p->add_ref();
        T* old = ptr;
        ptr = p;
        if (old)
            old->release();
        return *this;
    }

    void reset() { *this = nullptr; }
    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    explicit operator bool() const { return ptr != nullptr; }

    friend bool operator==(const ref_ptr& a, const ref_ptr& b) { return a.ptr == b.ptr; }
    friend bool operator==(const ref_ptr& a, const T* b) { return a.ptr == b; }
    friend bool operator==(const ref_ptr& a, std::nullptr_t) { return a.ptr == nullptr; }

private:
    T* ptr = nullptr;
};
