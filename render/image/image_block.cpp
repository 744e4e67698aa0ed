// Stream access and block decoding shared by every image decoder.
#include "render/image/image_codec_internal.h"

namespace image_detail {

void reader_for(bit_seek_stream& stream, word_reader& r, std::vector<uint32_t>& copy)
{
    if (auto* v = dynamic_cast<bit_iovector*>(&stream)) {
        r.start(v->words.data(), v->words.size(), v->size(), v->tell());
        r.origin = 0;
        return;
    }
    // Any other stream: take its remaining bits into words of our own.
    int32_t from = stream.tell();
    int32_t remaining = stream.size() - from;
    if (remaining < 0)
        remaining = 0;
    copy.assign((size_t(remaining) + 31) / 32, 0);
    for (int32_t bit = 0; bit < remaining; bit += 16) {
        int n = remaining - bit < 16 ? remaining - bit : 16;
        copy[size_t(bit) >> 5] |= stream.read(n) << (bit & 31);
    }
    r.start(copy.data(), copy.size(), remaining, 0);
    r.origin = from;
}

void finish_reader(bit_seek_stream& stream, const word_reader& r)
{
    int64_t p = r.position();
    if (p > r.size_bits)
        p = r.size_bits;
    stream.seek(int32_t(r.origin + p));
}

bool read_header(word_reader& r, decode_trees& d)
{
    int quality = int(r.get(8));
    quant_table(quality, true, d.q);
    for (huff_tree& t : d.tree)
        if (!read_tree(r, t))
            return false;
    return !r.overrun();
}

namespace {

// The cheapest leaf of a tree: its depth plus the value bits its symbol brings. Symbols
// `valid` refuses (a DC size above 15 fails the decode) do not count.
template <typename ValueBits>
int64_t cheapest_leaf(const huff_tree& t, ValueBits value_bits)
{
    constexpr int64_t none = int64_t(1) << 40;
    int64_t best = none;
    int32_t node_stack[huff_tree::max_nodes];
    int32_t depth_stack[huff_tree::max_nodes];
    int top = 0;
    node_stack[top] = t.root;
    depth_stack[top++] = 0;
    while (top > 0) {
        --top;
        int32_t node = node_stack[top], depth = depth_stack[top];
        if (t.left[node] < 0) {
            int64_t extra = value_bits(uint32_t(node));
            if (extra >= 0 && depth + extra < best)
                best = depth + extra;
            continue;
        }
        // A read tree has no cycles and no shared nodes, so the stack never overflows.
        for (int32_t child : {int32_t(t.left[node]), int32_t(t.right[node])}) {
            node_stack[top] = child;
            depth_stack[top++] = depth + 1;
        }
    }
    return best;
}

}  // namespace

int64_t least_block_bits(const huff_tree& dc, const huff_tree& ac)
{
    int64_t dc_bits = cheapest_leaf(dc, [](uint32_t s) { return s <= 15 ? int64_t(s) : int64_t(-1); });
    int64_t ac_bits = cheapest_leaf(ac, [](uint32_t s) { return int64_t(s >> 4); });
    return dc_bits + ac_bits;
}

int64_t least_macroblock_bits(const decode_trees& d)
{
    return 4 * least_block_bits(d.tree[0], d.tree[1]) + 4 * least_block_bits(d.tree[4], d.tree[5]) +
           2 * least_block_bits(d.tree[2], d.tree[3]);
}

}  // namespace image_detail
