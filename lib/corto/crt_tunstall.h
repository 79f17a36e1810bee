// Tunstall coding of byte arrays: 256 fixed 8-bit codes, each standing for a run of symbols.
// The dictionary is rebuilt from the stored (symbol, probability) pairs alone, so the build is
// exact integer arithmetic shared by both directions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace crt {

struct TunstallPair {
    uint8_t symbol;
    uint8_t probability;
};

struct TunstallTable {
    std::vector<uint8_t> bytes;    // all code words, back to back
    std::vector<uint32_t> offset;  // per code
    std::vector<uint32_t> length;  // per code
    uint32_t longest = 0;
};

// Requires at least two pairs.
TunstallTable buildTunstall(const std::vector<TunstallPair>& pairs);

// Throws StreamError on codes that do not fill exactly n values.
std::vector<uint8_t> tunstallDecode(const TunstallTable& table, const uint8_t* codes, size_t m, size_t n);

// Picks the pairs from the value histogram (decreasing probability, ties by symbol).
std::vector<TunstallPair> tunstallPairs(const std::vector<uint8_t>& values);

// Greedy longest-match parse; pairs must list every symbol of values (two or more of them).
std::vector<uint8_t> tunstallEncode(const std::vector<TunstallPair>& pairs, const std::vector<uint8_t>& values);

}  // namespace crt
