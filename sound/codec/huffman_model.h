// The adaptive Huffman model of the sample codec: a code tree over n symbols that
// starts empty, learns each symbol the first time it is sent (through an escape
// code followed by the raw symbol) and keeps the sibling property after every
// symbol, so that the encoder and the decoder evolve the same tree from the same
// symbol sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class bit_ostream;

// Nodes live in one array of 2n: leaves are 0..n-1 (the symbols), internal nodes are
// taken from the top downward, and the escape node sits just below the lowest
// internal node, so "index above the escape node" means internal. Weights are
// stored doubled (a leaf of count c weighs 2c, an internal node 2c + 1) so that a
// leaf sorts before an internal node of the same count. The list (prev/next) runs
// from low to high weight and ends at the root.
class w_huffman_model {
public:
    struct node {
        uint32_t weight = 0;
        int32_t parent = -1;
        int32_t left = -1;
        int32_t right = -1;
        int32_t prev = -1;
        int32_t next = -1;
        int32_t side = 0;  // 1 when this node is its parent's right child
    };

    // n is a power of two, at least 2.
    explicit w_huffman_model(int symbol_count = 1024);

    // Forgets every symbol: the model is as constructed, in the memory it already has.
    void clear();

    int symbol_count() const { return n; }

    // Reads one symbol: the path bits from the root, then for the escape node the
    // raw symbol, least significant bit first. The reader needs read_bit() and
    // read(k) returning unsigned values.
    template <class reader>
    int decode(reader& in)
    {
        int32_t at = root;
        while (at > escape)
            at = in.read_bit() ? nodes[size_t(at)].right : nodes[size_t(at)].left;
        if (at == escape)
            at = learn(int32_t(in.read(bits)));
        update(at);
        return at;
    }

    // Writes the code of a symbol (0..n-1) and updates the model the same way.
    void encode(int symbol, bit_ostream& out);

    bool known(int symbol) const { return nodes[size_t(symbol)].parent >= 0 || symbol == root; }

    // Checks the tree, the list and the weights against each other; for tests.
    bool consistent() const;

    std::vector<node> nodes;
    int32_t n;
    int32_t bits;  // raw bits of an escaped symbol: log2(n)
    int32_t root;
    int32_t escape;  // the escape node; leaves the tree once every symbol is known

private:
    // The leaf to update for a symbol just read after an escape.
    int32_t learn(int32_t symbol);
    void add(int32_t symbol);
    int32_t exchange(int32_t a, int32_t b);
    void update(int32_t leaf);
    // Puts v into the list between two nodes (-1 for an end).
    void link_between(int32_t v, int32_t before, int32_t after);
    void swap_in_list(int32_t a, int32_t b);
};
