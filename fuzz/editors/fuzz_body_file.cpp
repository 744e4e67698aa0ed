// Opens arbitrary text as a ".BTYP.txt" file in the body editor's model: whatever the
// file names, the body keeps only nodes that constraints and corners can use; what the
// editor writes reads back as the same text (keys the game does not know may change
// places); the editor flags a refusal exactly when the game's type loader refuses what
// it would save; and deleting every node leaves no constraint and no tied corner behind.
#include "editors/body/body_editor.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

void require(bool ok, int line)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_body_file: the check of line %d failed\n", line);
        std::abort();
    }
}

#define REQUIRE(ok) require(ok, __LINE__)

// The lines of a text, sorted: keys the game does not know may come out in another order
// (their numbers follow the order in which a file names them), with the same lines.
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    bedit::body b;
    std::string notes;
    if (!bedit::body::parse(text, b, notes))
        return 0;
    for (const bedit::constraint& c : b.constraints)
        REQUIRE(c.n1 >= 0 && c.n2 >= 0 && size_t(c.n1) < b.nodes.size() && size_t(c.n2) < b.nodes.size());
    // Taken once as the writer prints it (as the editor does on loading), the text is stable.
    std::string once = b.text();
    REQUIRE(bedit::body::parse(once, b, notes));
    std::string saved = b.text();
    bedit::body again;
    REQUIRE(bedit::body::parse(saved, again, notes) && lines_of(again.text()) == lines_of(saved));

    std::string why;
    REQUIRE(bedit::any_refused(b.check()) == !bedit::trial_body_type(saved, why));

    b.mirror();
    while (!b.nodes.empty())
        b.delete_node(int32_t(b.nodes.size() / 2));
    REQUIRE(b.constraints.empty());
    for (const bedit::polygon& p : b.polygons)
        for (const bedit::corner& c : p.corners)
            REQUIRE(!c.tied());
    b.text();
    return 0;
}
