// Huffman trees of the image codec: reading and checking a tree from the stream
// with its 8-bit lookup table, and building and writing one from symbol counts.
#include "render/image/image_codec_internal.h"

#include <algorithm>

namespace image_detail {

namespace {

void fill_table(huff_tree& t, int32_t node, uint32_t prefix, uint32_t depth)
{
    bool internal = t.left[node] >= 0;
    if (internal && depth < 8) {
        fill_table(t, t.left[node], prefix, depth + 1);
        fill_table(t, t.right[node], prefix + (1u << depth), depth + 1);
        return;
    }
    uint16_t entry = uint16_t(node * 16 + (internal ? 0 : int32_t(depth)));
    for (uint32_t e = prefix; e < 256; e += 1u << depth)
        t.table[e] = entry;
}

// Symbol and value in one lookup for the common short cases (see huff_tree).
void fill_ac_fast(huff_tree& t)
{
    for (uint32_t p = 0; p < 256; ++p) {
        uint32_t e = t.table[p];
        uint32_t length = e & 15;
        int32_t f = 0;
        if (length) {
            uint32_t symbol = e >> 4;
            uint32_t size = symbol >> 4;
            if (symbol == 0) {
                f = ac_fast_valid | ac_fast_end | int32_t(length);
            } else if (length + size <= 8) {
                int32_t v = 0;
                if (size) {
                    uint32_t b = (p >> length) & ((1u << size) - 1);
                    v = int32_t((b >> 1) + (1u << (size - 1)));
                    if (!(b & 1))
                        v = -v;
                }
                f = int32_t(uint32_t(v) << 16) | ac_fast_valid | int32_t((symbol & 15) << 4) |
                    int32_t(length + size);
            }
        }
        t.ac_fast[p] = f;
    }
}

// Every node reachable from the root is reached once (no cycle, no shared
// subtree) and every leaf reached is a symbol.
bool tree_is_sound(const huff_tree& t, int32_t n)
{
    bool seen[huff_tree::max_nodes] = {};
    int32_t stack[huff_tree::max_nodes];
    int top = 0;
    stack[top++] = t.root;
    seen[t.root] = true;
    while (top > 0) {
        int32_t node = stack[--top];
        if (t.left[node] < 0) {
            if (node > 255)
                return false;
            continue;
        }
        for (int32_t child : {int32_t(t.left[node]), int32_t(t.right[node])}) {
            if (child >= n || seen[child])
                return false;
            seen[child] = true;
            stack[top++] = child;
        }
    }
    return true;
}

}  // namespace

bool read_tree(word_reader& r, huff_tree& t)
{
    uint32_t n = r.get(24);
    if (n == 0 || n > uint32_t(huff_tree::max_nodes))
        return false;
    uint32_t k = 1;
    while ((1u << k) < n)
        ++k;
    // Indices below 2^(k-1) are leaves and so can never take children.
    int32_t first_internal = int32_t(1u << (k - 1));
    std::fill(t.left, t.left + n, int16_t(-1));
    std::fill(t.right, t.right + n, int16_t(-1));
    t.root = int32_t(n - 1);
    int32_t current = t.root;
    for (;;) {
        uint32_t a = r.get(k);
        if (a == n - 1)
            break;
        uint32_t b = r.get(k);
        if (r.overrun() || a >= n || b >= n || current < first_internal)
            return false;
        t.left[current] = int16_t(a);
        t.right[current] = int16_t(b);
        --current;
    }
    if (r.overrun() || !tree_is_sound(t, int32_t(n)))
        return false;
    if (t.left[t.root] < 0)
        std::fill(t.table, t.table + 256, uint16_t(0));
    else
        fill_table(t, t.root, 0, 0);
    fill_ac_fast(t);
    return true;
}

namespace {

void make_tree(const std::vector<uint64_t>& counts, huff_codes& out)
{
    const int max_nodes = huff_tree::max_nodes;
    std::vector<uint64_t> weight(max_nodes, 0);
    std::vector<bool> has_parent(max_nodes, false);
    out.left.assign(max_nodes, -1);
    out.right.assign(max_nodes, -1);
    std::copy(counts.begin(), counts.end(), weight.begin());
    int32_t nodes = 256;
    int32_t last_single = -1;
    for (;;) {
        int32_t a = -1, b = -1;
        for (int32_t i = 0; i < nodes; ++i)
            if (!has_parent[i] && weight[i] > 0 && (a < 0 || weight[i] < weight[a]))
                a = i;
        for (int32_t i = 0; i < nodes; ++i)
            if (i != a && !has_parent[i] && weight[i] > 0 && (b < 0 || weight[i] < weight[b]))
                b = i;
        if (b < 0) {
            last_single = a;
            break;
        }
        out.left[nodes] = int16_t(a);
        out.right[nodes] = int16_t(b);
        weight[nodes] = weight[a] + weight[b];
        has_parent[a] = has_parent[b] = true;
        ++nodes;
    }
    // A lone symbol is its own root with an empty code; no symbol at all codes as
    // a lone leaf 0, which no block will ever use.
    out.root = nodes > 256 ? nodes - 1 : std::max(last_single, 0);
}

// Code lengths by walking from the root; returns the longest.
int measure(const huff_codes& t, uint8_t length[256])
{
    std::fill(length, length + 256, uint8_t(0));
    int longest = 0;
    std::vector<std::pair<int32_t, int>> stack{{t.root, 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (t.left[node] < 0) {
            length[node] = uint8_t(std::min(depth, 255));
            longest = std::max(longest, depth);
            continue;
        }
        stack.push_back({t.left[node], depth + 1});
        stack.push_back({t.right[node], depth + 1});
    }
    return longest;
}

void assign_codes(huff_codes& t, int32_t node, uint32_t code, uint32_t depth)
{
    if (t.left[node] < 0) {
        t.code[node] = code;
        return;
    }
    assign_codes(t, t.left[node], code, depth + 1);
    assign_codes(t, t.right[node], depth < 32 ? code | (1u << depth) : code, depth + 1);
}

}  // namespace

void build_tree(const uint64_t counts[256], huff_codes& out, int max_bits)
{
    std::vector<uint64_t> weights(counts, counts + 256);
    for (;;) {
        make_tree(weights, out);
        if (measure(out, out.length) <= max_bits)
            break;
        // Too skewed for the code width: flatten the statistics and try again.
        // Weights stay non-zero and reach all ones, a balanced tree, at worst.
        for (uint64_t& w : weights)
            if (w > 0)
                w = (w + 1) / 2;
    }
    std::fill(out.code, out.code + 256, 0u);
    assign_codes(out, out.root, 0, 0);
}

void write_tree(const huff_codes& t, bit_ostream& s)
{
    uint32_t n = uint32_t(t.root) + 1;
    uint32_t k = 1;
    while ((1u << k) < n)
        ++k;
    s.write(n, 24);
    for (int32_t node = t.root; node >= 256; --node) {
        s.write(uint32_t(t.left[node]), int(k));
        s.write(uint32_t(t.right[node]), int(k));
    }
    s.write(n - 1, int(k));
}

}  // namespace image_detail
