// Byte and bit level access to a compressed mesh stream.
//
// Reader: bounded little-endian reads over (pointer, length); every read past the end throws
// crt::StreamError, which the decoder catches and turns into its error text.
// Writer: the matching appends. BitReader/BitWriter: the word-padded, MSB-first bit streams.
// Byte blocks (raw or Tunstall coded arrays of small values) are read and written here too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace crt {

enum Entropy : uint8_t { ENTROPY_NONE = 0, ENTROPY_TUNSTALL = 1 };

struct StreamError {
    const char* message;
};

[[noreturn]] void fail(const char* message);

struct Reader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;

    size_t remaining() const { return size - pos; }
    const uint8_t* take(size_t n);
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    float f32();
    std::string str();
};

struct Writer {
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void f32(float v);
    void str(const std::string& s);
    void append(const uint8_t* p, size_t n) { bytes.insert(bytes.end(), p, p + n); }
};

// The word array sits at a 4-aligned offset from the start of the stream.
struct BitReader {
    const uint8_t* words = nullptr;
    uint32_t count = 0;
    uint64_t bit = 0;

    // 1..32 bits, MSB first.
    uint32_t read(int width) {
        if (width < 1 || width > 32) fail("bad bit field width");
        if (uint64_t(width) > left()) fail("bit stream exhausted");
        return readChecked(width);
    }

    uint64_t left() const { return uint64_t(count) * 32 - bit; }

    // For callers that checked the width (1..32) and that left() covers it.
    uint32_t readChecked(int width) {
        uint64_t w = bit >> 5;
        uint64_t both = uint64_t(word(w)) << 32;
        if (w + 1 < count) both |= word(w + 1);
        both <<= bit & 31;
        bit += uint64_t(width);
        return uint32_t(both >> (64 - width));
    }

private:
    uint32_t word(uint64_t i) const {
        const uint8_t* p = words + 4 * i;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
};

BitReader readBits(Reader& r);

struct BitWriter {
    std::vector<uint32_t> words;
    int used = 32;  // bits used in the last word

    void write(uint32_t value, int width);  // 1..32 bits
};

void writeBits(Writer& w, const BitWriter& bits);

// A byte block must decode to exactly `expected` values, or to at most `limit` when expected
// is unknown (pass expected = SIZE_MAX).
std::vector<uint8_t> readBlock(Reader& r, Entropy entropy, size_t expected, size_t limit);
void writeBlock(Writer& w, Entropy entropy, const std::vector<uint8_t>& values);

}  // namespace crt
