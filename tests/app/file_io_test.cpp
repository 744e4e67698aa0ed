// Whole-file reads: every byte up to the caller's limit, nothing beyond it, and an endless
// device refused instead of read until memory runs out.
#include "app/file_io.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

TEST(file_io, whole_file_reads_stop_at_their_limit)
{
    test_scratch_dir dir;
    std::vector<uint8_t> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7);
    test_write_bytes(dir.file("f"), bytes);

    std::vector<uint8_t> out{1, 2, 3};
    ASSERT_TRUE(file_read_all(dir.file("f"), out, 1000));
    EXPECT_EQ(out, bytes);
    EXPECT_FALSE(file_read_all(dir.file("f"), out, 999));
    EXPECT_TRUE(out.empty());

    std::string text = "left over";
    EXPECT_FALSE(file_read_all(dir.file("missing"), text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(file_read_all("/dev/zero", text, 1 << 16));
    EXPECT_TRUE(text.empty());
}
