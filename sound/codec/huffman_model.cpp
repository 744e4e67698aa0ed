// Adding symbols, exchanging nodes and the update walk of the adaptive Huffman model.
#include "sound/codec/huffman_model.h"

#include "data/bit_stream.h"

#include <algorithm>

w_huffman_model::w_huffman_model(int symbol_count)
    : nodes(size_t(2 * symbol_count)), n(symbol_count), bits(0), root(2 * symbol_count - 1),
      escape(2 * symbol_count - 1)
{
    for (int v = 1; v < n; v *= 2)
        ++bits;
    nodes[size_t(escape)].weight = 1;
}

void w_huffman_model::clear()
{
    std::fill(nodes.begin(), nodes.end(), node{});
    root = escape = 2 * n - 1;
    nodes[size_t(escape)].weight = 1;
}

int32_t w_huffman_model::learn(int32_t symbol)
{
    // A well-formed stream escapes only unseen symbols. A damaged one may name a
    // known symbol again; adding it twice would tangle the tree, so it is taken as
    // an ordinary occurrence of that symbol instead.
    symbol &= n - 1;
    if (!known(symbol))
        add(symbol);
    return symbol;
}

void w_huffman_model::add(int32_t s)
{
    node& leaf = nodes[size_t(s)];
    leaf = node{};
    if (escape > n) {
        // The escape node splits: the node below it becomes the new escape node (left
        // child), the leaf its sibling (right child), and the old escape node their
        // parent, in the list order new escape, leaf, old escape.
        int32_t old = escape, fresh = escape - 1;
        node& o = nodes[size_t(old)];
        node& e = nodes[size_t(fresh)];
        e = node{};
        e.weight = 1;
        e.parent = old;
        e.side = 0;
        leaf.parent = old;
        leaf.side = 1;
        o.left = fresh;
        o.right = s;
        link_between(fresh, o.prev, old);
        link_between(s, fresh, old);
        escape = fresh;
        return;
    }
    // The last free symbol takes the escape node's place; the escape node leaves the
    // tree but stays at the head of the list, followed by the leaf.
    node& e = nodes[size_t(escape)];
    leaf.parent = e.parent;
    leaf.side = e.side;
    if (e.parent >= 0) {
        node& p = nodes[size_t(e.parent)];
        (e.side ? p.right : p.left) = s;
    } else {
        root = s;
    }
    e.parent = -1;
    link_between(s, escape, e.next);
}

void w_huffman_model::link_between(int32_t v, int32_t before, int32_t after)
{
    nodes[size_t(v)].prev = before;
    nodes[size_t(v)].next = after;
    if (before >= 0)
        nodes[size_t(before)].next = v;
    if (after >= 0)
        nodes[size_t(after)].prev = v;
}

void w_huffman_model::swap_in_list(int32_t a, int32_t b)
{
    // Each node goes where the other stood; neighbours b and a (... p a b q ...)
    // become ... p b a q ...
    const node& x = nodes[size_t(a)];
    const node& y = nodes[size_t(b)];
    int32_t xp = x.prev, xn = x.next, yp = y.prev, yn = y.next;
    if (xn == b) {
        link_between(b, xp, a);
        link_between(a, b, yn);
    } else {
        link_between(b, xp, xn);
        link_between(a, yp, yn);
    }
}

int32_t w_huffman_model::exchange(int32_t a, int32_t b)
{
    // A leaf jumps to the end of its run of equal weight in one step; internal nodes
    // are passed one at a time because each carries a subtree.
    if (b < n) {
        uint32_t w = nodes[size_t(b)].weight;
        while (nodes[size_t(b)].next >= 0 && nodes[size_t(nodes[size_t(b)].next)].weight == w)
            b = nodes[size_t(b)].next;
    }
    node& x = nodes[size_t(a)];
    node& y = nodes[size_t(b)];
    int32_t xp = x.parent, xs = x.side, yp = y.parent, ys = y.side;
    if (xp >= 0)
        (xs ? nodes[size_t(xp)].right : nodes[size_t(xp)].left) = b;
    if (yp >= 0)
        (ys ? nodes[size_t(yp)].right : nodes[size_t(yp)].left) = a;
    x.parent = yp;
    x.side = ys;
    y.parent = xp;
    y.side = xs;
    swap_in_list(a, b);
    return nodes[size_t(a)].next;
}

void w_huffman_model::update(int32_t x)
{
    int32_t p = x;
    if (nodes[size_t(x)].next == nodes[size_t(x)].parent && nodes[size_t(x)].parent >= 0) {
        nodes[size_t(x)].weight += 2;
        p = nodes[size_t(x)].parent;
    }
    while (nodes[size_t(p)].parent >= 0) {
        int32_t q = nodes[size_t(p)].next;
        while (q >= 0 && nodes[size_t(q)].weight == nodes[size_t(p)].weight)
            q = exchange(p, q);
        nodes[size_t(p)].weight += 2;
        int32_t up = -1;
        bool internal = p > escape;
        if (internal)
            up = nodes[size_t(p)].parent;
        while (q >= 0 && nodes[size_t(p)].weight > nodes[size_t(q)].weight)
            q = exchange(p, q);
        if (!internal)
            up = nodes[size_t(p)].parent;
        p = up;
    }
    nodes[size_t(root)].weight += 2;
}

void w_huffman_model::encode(int symbol, bit_ostream& out)
{
    symbol &= n - 1;
    bool fresh = !known(symbol);
    int32_t at = fresh ? escape : symbol;
    // The path is collected leaf to root and sent root first.
    uint32_t path[64];
    std::vector<uint32_t> long_path;
    int depth = 0;
    for (int32_t v = at; nodes[size_t(v)].parent >= 0; v = nodes[size_t(v)].parent) {
        if (depth < 64)
            path[depth] = uint32_t(nodes[size_t(v)].side);
        else
            long_path.push_back(uint32_t(nodes[size_t(v)].side));
        ++depth;
    }
    for (int i = depth - 1; i >= 0; --i)
        out.write_bit(i < 64 ? path[i] : long_path[size_t(i - 64)]);
    if (fresh) {
        out.write(uint32_t(symbol), bits);
        add(symbol);
    }
    update(symbol);
}

bool w_huffman_model::consistent() const
{
    // Walk the list from the root backward: weights never rise going down the list,
    // every internal node weighs 1 more than the doubled counts below it, and each
    // child names its parent and side correctly.
    int count = 0;
    int32_t prev_weight = -1;
    for (int32_t v = root; v >= 0; v = nodes[size_t(v)].prev) {
        const node& d = nodes[size_t(v)];
        if (prev_weight >= 0 && d.weight > uint32_t(prev_weight))
            return false;
        prev_weight = int32_t(d.weight);
        if (d.prev >= 0 && nodes[size_t(d.prev)].next != v)
            return false;
        if (++count > int(nodes.size()))
            return false;
        if (v > escape) {
            const node& l = nodes[size_t(d.left)];
            const node& r = nodes[size_t(d.right)];
            if (l.parent != v || r.parent != v || l.side != 0 || r.side != 1)
                return false;
            uint32_t lc = l.weight / 2, rc = r.weight / 2;
            if (d.weight != 2 * (lc + rc) + 1)
                return false;
        } else if (v != escape && v >= n) {
            return false;
        }
    }
    return nodes[size_t(root)].next < 0;
}
