// Helpers shared by the test binaries: scratch folders, whole files, running a tool as a
// separate process, and looking for lines in the log.
#pragma once

#include "app/log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// A fresh folder under the system's temporary folder, named per process, test and
// instance (CTest runs tests in parallel processes, other build trees may run them at the
// same time), removed afterwards.
struct test_scratch_dir {
    std::filesystem::path path;

    test_scratch_dir()
    {
        static std::atomic<int> serial{0};
        const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
        path =
            std::filesystem::temp_directory_path() / ("tamble_" + std::to_string(getpid()) + "_" +
                                                      (t ? t->name() : "x") + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~test_scratch_dir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    test_scratch_dir(const test_scratch_dir&) = delete;
    test_scratch_dir& operator=(const test_scratch_dir&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }
};

// A whole file's bytes or text; empty when it cannot be read.
inline std::vector<uint8_t> test_read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string test_read_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes a whole file, making its folders first.
inline void test_write_bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline void test_write_text(const std::string& path, const std::string& text)
{
    test_write_bytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// The argument quoted for the shell.
inline std::string test_quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct test_tool_run {
    int status = -1;  // the exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` (a shell command line fragment, quoted by the caller)
// and captures its exit status, standard output and standard error.
inline test_tool_run test_run_tool(const std::string& program, const std::string& arguments)
{
    test_scratch_dir dir;
    std::string out = dir.file("stdout"), err = dir.file("stderr");
    std::string command =
        test_quote(program) + " " + arguments + " >" + test_quote(out) + " 2>" + test_quote(err);
    int status = std::system(command.c_str());
    test_tool_run r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = test_read_text(out);
    r.err = test_read_text(err);
    return r;
}

inline test_tool_run test_run_tool(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& a : arguments)
        line += (line.empty() ? "" : " ") + test_quote(a);
    return test_run_tool(program, line);
}

// Whether some entry that log sink 1 keeps mentions every piece.
inline bool test_logged(std::initializer_list<std::string> pieces)
{
    for (const std::string& line : log_sink_entries(1)) {
        bool all = true;
        for (const std::string& p : pieces)
            all = all && line.find(p) != std::string::npos;
        if (all)
            return true;
    }
    return false;
}
