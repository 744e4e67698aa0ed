// Chunks: type codes, the chunk reference a store keeps per chunk, the base of live
// objects made from chunks, and the in-memory forms used to walk (`pak_rawchunk`) and
// to build (`pak_editchunk`) the tagged records that structure a container chunk.
#pragma once

#include "data/ref_counter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Four ASCII characters packed first-character-lowest: pak_code("IMAG") == 0x47414D49.
constexpr uint32_t pak_code(const char (&c)[5])
{
    return uint32_t(uint8_t(c[0])) | uint32_t(uint8_t(c[1])) << 8 | uint32_t(uint8_t(c[2])) << 16 |
           uint32_t(uint8_t(c[3])) << 24;
}
// The four characters of a code, with a NUL: for file names and messages.
std::string pak_code_text(uint32_t code);

constexpr uint32_t pak_code_imag = pak_code("IMAG");
constexpr uint32_t pak_code_samp = pak_code("SAMP");
constexpr uint32_t pak_code_btyp = pak_code("BTYP");
constexpr uint32_t pak_code_ntyp = pak_code("NTYP");
constexpr uint32_t pak_code_ctyp = pak_code("CTYP");
constexpr uint32_t pak_code_init = pak_code("INIT");
constexpr uint32_t pak_code_levl = pak_code("LEVL");
constexpr uint32_t pak_code_rply = pak_code("RPLY");
constexpr uint32_t pak_code_null = pak_code("NULL");
constexpr uint32_t pak_code_free = pak_code("FREE");
constexpr uint32_t pak_code_head = pak_code("HEAD");
constexpr uint32_t pak_code_data = pak_code("DATA");

// The header word of a record or chunk file: top three bits 001, bit 28 container,
// bits 25-27 the compression level (0 stored).
constexpr uint32_t pak_header_marker = 0x20000000u;
constexpr uint32_t pak_header_marker_mask = 0xE0000000u;
constexpr uint32_t pak_header_container = 0x10000000u;
// Builds a header word. Any level above 7 is written as 7: the field has three bits,
// and a wider value would spill into the container bit.
uint32_t pak_header_word(bool container, int level);

// Longest chunk name, NUL included.
constexpr size_t pak_name_capacity = 128;
// No chunk inflates beyond this; a larger declared size marks a damaged store.
constexpr uint32_t pak_max_chunk_size = 256u << 20;
// Whether a declared uncompressed size is believable for `stored` bytes of zlib data
// (deflate cannot expand more than about 1032:1).
bool pak_plausible_inflated_size(uint64_t uncompressed, uint64_t stored);

class pak_module;
class pak_chunk;

// Status values of a chunk reference (a store has its own, pak_module::store_status).
enum pak_chunk_status : int32_t {
    pak_status_ok = 0,
    pak_status_unopened = 1,    // the chunk file could not be opened
    pak_status_truncated = 2,   // truncated record, end of data, "FREE" or absurd size
    pak_status_bad_header = 4,  // marker bits wrong, or a name without its NUL
    pak_status_unreadable = 5,  // a chunk just written could not be read back
};

// One chunk in a store. The store's name table holds it for the store's lifetime; the
// live object made from it points back here, and `object` is a plain back-pointer that
// the object clears when it dies.
class pak_chunkref : public ref_counter {
public:
    ref_ptr<pak_chunkref> next;  // chain of the store's name-table bucket
    pak_module* module = nullptr;
    pak_chunk_status status = pak_status_ok;
    char name[pak_name_capacity] = {};
    uint32_t code = 0;
    uint8_t container = 0;
    uint32_t method = 0;  // 0 stored, anything else zlib-compressed
    uint32_t uncompressed_size = 0;
    uint32_t stored_size = 0;
    pak_chunk* object = nullptr;

    // Makes the live object through the creator of this code, unless one is alive.
    // 0 on success (the object may still be null), -1 without a store, -2 without creator.
    virtual int load();
    // Fills `buffer` (uncompressed_size bytes) with the chunk's bytes: 0, or -1.
    virtual int read(void* buffer) = 0;

    const char* get_name() const { return name; }
    uint32_t get_code() const { return code; }
    uint32_t get_size() const { return uncompressed_size; }
    int32_t get_status() const { return status; }
    bool is_container() const { return container != 0; }
    // Copies a name, refusing one that does not fit with its NUL.
    bool set_name(const char* n);
};

// Base of every live object made from a chunk (textures, samples, types). Its death
// clears the reference's object pointer, so the next request makes the object anew.
class pak_chunk : public ref_counter {
public:
    explicit pak_chunk(ref_ptr<pak_chunkref> r);
    ~pak_chunk() override;

    ref_ptr<pak_chunkref> ref;
};

// One record met while walking: its code, data and name point into the walked bytes.
struct pak_record {
    uint32_t code = 0;
    uint32_t size = 0;
    const uint8_t* data = nullptr;
    const char* name = "";
    bool container = false;
};

// Result of `pak_rawchunk::next`.
enum : int { pak_record_end = 0, pak_record_leaf = 1, pak_record_container = 2 };

// A chunk's whole bytes in memory with a cursor over its top-level records. A walker
// made from a pointer and size does not own the bytes: that is how a container's
// children are walked. A record that does not fit in the bytes ends the walk and sets
// `damaged`; nothing is ever read past the end.
class pak_rawchunk : public ref_counter {
public:
    pak_rawchunk() = default;
    // Reads the chunk; on any failure the size is 0, so the walk finds no record.
    explicit pak_rawchunk(const ref_ptr<pak_chunkref>& ref);
    pak_rawchunk(const uint8_t* bytes, uint32_t length);

    std::vector<uint8_t> owned;  // the bytes when this walker read them itself
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    uint32_t cursor = 0;
    uint32_t last = 0;  // start of the record last returned
    bool owns_data = false;
    bool damaged = false;

    void rewind() { cursor = 0; }
    // pak_record_end, pak_record_leaf or pak_record_container.
    int next(pak_record& out);
    // Rewinds and walks to the first record of `code`; false when there is none.
    bool find(uint32_t code, pak_record& out);
};

// The writable form of a chunk: a name and code, and either bytes (a leaf) or child
// edit chunks (a container). Serialised, a container is its children's records one
// after another.
struct pak_editchunk {
    std::string name;
    uint32_t code = 0;
    bool container = false;
    std::vector<uint8_t> data;
    std::vector<pak_editchunk> children;

    static pak_editchunk leaf(uint32_t code, std::string name, std::vector<uint8_t> bytes);
    static pak_editchunk node(uint32_t code, std::string name, std::vector<pak_editchunk> kids = {});

    // Whether this name and every child's fit a record (at most 127 bytes, no NUL).
    bool names_fit() const;
    // Bytes of the content: the data of a leaf, the children's records of a container.
    uint32_t content_length() const;
    // Bytes of this chunk as one record: header, padded name block, padded content.
    uint32_t record_length() const;
    void serialise_content(std::vector<uint8_t>& out) const;
    void serialise_record(std::vector<uint8_t>& out) const;
};
