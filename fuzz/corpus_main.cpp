// Replays a fuzz target's corpus without libFuzzer: every file of the folders (or the
// files) named on the command line goes once through LLVMFuzzerTestOneInput, so each seed
// and regression input stays tested by the ordinary build's CTest run, and under the
// sanitizers in `make asan`, without clang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const fs::directory_entry& e : fs::directory_iterator(argv[i], ec))
                if (e.is_regular_file(ec))
                    inputs.push_back(e.path());
        } else if (fs::is_regular_file(argv[i], ec)) {
            inputs.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "%s: '%s' is neither a corpus folder nor a file\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        // An empty corpus tests nothing; that is a mistake in the corpus, not a pass.
        std::fprintf(stderr, "%s: no inputs (usage: %s CORPUS_DIR_OR_FILE...)\n", argv[0], argv[0]);
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& p : inputs) {
        std::ifstream in(p, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read '%s'\n", argv[0], p.c_str());
            return 2;
        }
        // A heap block of exactly the input's size (as libFuzzer passes it: never null,
        // even when empty), so that ASan catches a read past its end.
        std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), data.get());
        std::printf("%s (%zu bytes)\n", p.filename().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
