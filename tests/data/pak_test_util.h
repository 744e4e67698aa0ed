// Helpers shared by the pak tests and the tests of chunk objects: bytes of strings and of
// chunks, and chunks held in memory.
#pragma once

#include "data/pak.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

inline std::vector<uint8_t> pak_bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

inline std::vector<uint8_t> pak_read_all(pak_chunkref& ref)
{
    std::vector<uint8_t> out(ref.uncompressed_size);
    if (ref.read(out.data()) != 0)
        out.assign({0xDE, 0xAD});
    return out;
}

// A chunk held in memory.
class test_chunkref : public pak_chunkref {
public:
    std::vector<uint8_t> bytes;
    int read(void* buffer) override
    {
        if (!bytes.empty())
            std::memcpy(buffer, bytes.data(), bytes.size());
        return 0;
    }
};

// A read-only store of chunks added by the test.
class test_module : public pak_module {
public:
    explicit test_module(pak_system* sys) : pak_module(sys, false) {}
    bool is_directory() const override { return false; }
    ref_ptr<pak_chunkref> write(const pak_editchunk&, int, bool) override { return nullptr; }
    ref_ptr<pak_chunkref> write_raw(uint32_t, const char*, uint32_t, bool, const void*, int, bool) override
    {
        return nullptr;
    }
    void add(const char* name, uint32_t code, std::vector<uint8_t> bytes)
    {
        ref_ptr<test_chunkref> ref(new test_chunkref);
        ref->set_name(name);
        ref->module = this;
        ref->code = code;
        ref->container = 1;
        ref->uncompressed_size = uint32_t(bytes.size());
        ref->stored_size = ref->uncompressed_size;
        ref->bytes = std::move(bytes);
        insert(ref_ptr<pak_chunkref>(ref.get()));
    }
};
