// Helpers shared by the pak tests: scratch directories and raw file bytes.
#pragma once

#include "data/pak.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

// A fresh directory under the system's temporary folder, removed afterwards.
struct pak_scratch_dir {
    std::filesystem::path path;

    pak_scratch_dir()
    {
        static std::atomic<int> serial{0};
        const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
        path =
            std::filesystem::temp_directory_path() / ("tamble_pak_" + std::to_string(getpid()) + "_" +
                                                      (t ? t->name() : "x") + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~pak_scratch_dir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

inline std::vector<uint8_t> pak_file_bytes(const std::string& path)
{
    std::vector<uint8_t> out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF)
            out.push_back(uint8_t(c));
        std::fclose(f);
    }
    return out;
}

inline void pak_put_file(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

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
