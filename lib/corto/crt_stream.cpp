#include "crt_stream.h"

#include "crt_tunstall.h"

#include <cstring>

namespace crt {

void fail(const char* message) { throw StreamError{message}; }

const uint8_t* Reader::take(size_t n) {
    if (n > remaining()) fail("stream truncated");
    const uint8_t* p = data + pos;
    pos += n;
    return p;
}

uint8_t Reader::u8() { return *take(1); }

uint16_t Reader::u16() {
    const uint8_t* p = take(2);
    return uint16_t(p[0] | p[1] << 8);
}

static uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t Reader::u32() { return le32(take(4)); }

float Reader::f32() {
    uint32_t bits = u32();
    float f;
    memcpy(&f, &bits, 4);
    return f;
}

std::string Reader::str() {
    uint16_t len = u16();
    if (len == 0) fail("string without terminator");
    const uint8_t* p = take(len);
    if (p[len - 1] != 0) fail("string without terminator");
    return std::string(reinterpret_cast<const char*>(p));
}

void Writer::u16(uint16_t v) {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
}

void Writer::u32(uint32_t v) {
    for (int i = 0; i < 4; i++) u8(uint8_t(v >> (8 * i)));
}

void Writer::f32(float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    u32(bits);
}

void Writer::str(const std::string& s) {
    u16(uint16_t(s.size() + 1));
    append(reinterpret_cast<const uint8_t*>(s.c_str()), s.size() + 1);
}

BitReader readBits(Reader& r) {
    BitReader b;
    b.count = r.u32();
    r.take((4 - r.pos % 4) % 4);
    if (b.count > r.remaining() / 4) fail("bit stream truncated");
    b.words = r.take(size_t(b.count) * 4);
    return b;
}

void BitWriter::write(uint32_t value, int width) {
    if (width < 32) value &= (uint32_t(1) << width) - 1;
    int room = 32 - used;
    if (room == 0) {
        words.push_back(0);
        used = 0;
        room = 32;
    }
    if (width <= room) {
        words.back() |= uint32_t(uint64_t(value) << (room - width));
        used += width;
        return;
    }
    int rest = width - room;
    words.back() |= value >> rest;
    words.push_back(uint32_t(uint64_t(value) << (32 - rest)));
    used = rest;
}

void writeBits(Writer& w, const BitWriter& bits) {
    w.u32(uint32_t(bits.words.size()));
    while (w.bytes.size() % 4) w.u8(0);
    for (uint32_t word : bits.words) w.u32(word);
}

std::vector<uint8_t> readBlock(Reader& r, Entropy entropy, size_t expected, size_t limit) {
    if (expected != SIZE_MAX) limit = expected;
    if (entropy == ENTROPY_NONE) {
        uint32_t n = r.u32();
        if (n > limit || (expected != SIZE_MAX && n != expected)) fail("byte block has a wrong length");
        const uint8_t* p = r.take(n);
        return std::vector<uint8_t>(p, p + n);
    }
    uint8_t s = r.u8();
    std::vector<TunstallPair> pairs(s);
    for (TunstallPair& p : pairs) {
        p.symbol = r.u8();
        p.probability = r.u8();
    }
    uint32_t n = r.u32();
    uint32_t m = r.u32();
    if (n > limit || (expected != SIZE_MAX && n != expected)) fail("byte block has a wrong length");
    const uint8_t* codes = r.take(m);
    if (n == 0) return {};
    if (s == 0) fail("byte block without symbols");
    if (s == 1) return std::vector<uint8_t>(n, pairs[0].symbol);
    TunstallTable table = buildTunstall(pairs);
    // Bounds the allocation by what the code bytes can possibly expand to.
    if (m == 0 || uint64_t(n) > uint64_t(m) * table.longest) fail("byte block codes too short");
    return tunstallDecode(table, codes, m, n);
}

void writeBlock(Writer& w, Entropy entropy, const std::vector<uint8_t>& values) {
    if (entropy == ENTROPY_NONE) {
        w.u32(uint32_t(values.size()));
        w.append(values.data(), values.size());
        return;
    }
    if (values.empty()) {
        w.u8(0);
        w.u32(0);
        w.u32(0);
        return;
    }
    std::vector<TunstallPair> pairs = tunstallPairs(values);
    w.u8(uint8_t(pairs.size()));
    for (const TunstallPair& p : pairs) {
        w.u8(p.symbol);
        w.u8(p.probability);
    }
    w.u32(uint32_t(values.size()));
    if (pairs.size() == 1) {
        w.u32(0);
        return;
    }
    std::vector<uint8_t> codes = tunstallEncode(pairs, values);
    w.u32(uint32_t(codes.size()));
    w.append(codes.data(), codes.size());
}

}  // namespace crt
