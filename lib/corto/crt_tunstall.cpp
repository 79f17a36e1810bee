#include "crt_tunstall.h"

#include "crt_stream.h"

#include <algorithm>
#include <cstring>

namespace crt {

namespace {

struct Entry {
    uint32_t offset;
    uint32_t length;
    uint32_t probability;
};

// The words as they are built, back to back; a new word is an earlier word
// (or a run of one symbol) with one symbol more, copied within `bytes` by
// index so that growth cannot leave a pointer behind.
struct Builder {
    std::vector<uint8_t> bytes;
    std::vector<Entry> entries;

    void addEmpty() { entries.push_back({uint32_t(bytes.size()), 0, 0}); }
    void addRun(uint8_t symbol, uint32_t runLength, uint8_t last, uint32_t probability) {
        entries.push_back({uint32_t(bytes.size()), runLength + 1, probability});
        bytes.insert(bytes.end(), runLength, symbol);
        bytes.push_back(last);
    }
    void addExtended(size_t prefix, uint8_t last, uint32_t probability) {
        Entry from = entries[prefix];
        size_t at = bytes.size();
        entries.push_back({uint32_t(at), from.length + 1, probability});
        bytes.resize(at + from.length + 1);
        for (uint32_t i = 0; i < from.length; i++) bytes[at + i] = bytes[from.offset + i];
        bytes[at + from.length] = last;
    }
};

}  // namespace

TunstallTable buildTunstall(const std::vector<TunstallPair>& pairs) {
    const uint32_t s = uint32_t(pairs.size());
    std::vector<uint32_t> p(s);
    for (uint32_t r = 0; r < s; r++) p[r] = uint32_t(pairs[r].probability) * 256;

    uint32_t k = 2;
    uint32_t t = (p[0] * p[0]) >> 16;
    const uint32_t limit = 255 / (s - 1);
    while (t > p[1] && k < limit) {
        t = (t * p[0]) >> 16;
        k++;
    }

    Builder b;
    b.bytes.reserve(4096);
    b.entries.reserve(512);
    std::vector<uint32_t> head(s);
    uint32_t words;
    if (k >= 16) {
        // Long runs of the likeliest symbol get their own words from the start.
        uint32_t q = p[0];
        for (uint32_t c = 0; c < k; c++) {
            for (uint32_t r = 0; r < s; r++) {
                if (r == 0) {
                    if (c == k - 1)
                        b.addRun(pairs[0].symbol, c, pairs[0].symbol, (q * p[0]) >> 16);
                    else
                        b.addEmpty();
                    continue;
                }
                b.addRun(pairs[0].symbol, c, pairs[r].symbol, c == 0 ? p[r] : (q * p[r]) >> 16);
            }
            if (c >= 1) q = (q * p[0]) >> 16;
        }
        head[0] = (k - 1) * s;
        for (uint32_t r = 1; r < s; r++) head[r] = r;
        words = 1 + k * (s - 1);
    } else {
        for (uint32_t r = 0; r < s; r++) {
            b.addRun(0, 0, pairs[r].symbol, p[r]);
            head[r] = r;
        }
        words = s;
    }

    while (words < 256) {
        uint32_t best = 0;
        for (uint32_t r = 1; r < s; r++)
            if (b.entries[head[r]].probability > b.entries[head[best]].probability) best = r;
        const size_t prefix = head[best];
        const uint32_t pi = b.entries[prefix].probability;
        bool early = false;
        for (uint32_t r = 0; r < s; r++) {
            b.addExtended(prefix, pairs[r].symbol, (pi * p[r]) >> 16);
            if (words + r == 255) {
                early = true;
                break;
            }
        }
        if (!early) head[best] += s;
        words += s - 1;
    }

    TunstallTable table;
    for (size_t e = 0; e < b.entries.size() && table.offset.size() < 256; e++) {
        if (e < head[e % s]) continue;
        const Entry& x = b.entries[e];
        table.offset.push_back(uint32_t(table.bytes.size()));
        table.length.push_back(x.length);
        table.bytes.insert(table.bytes.end(), b.bytes.begin() + x.offset, b.bytes.begin() + x.offset + x.length);
        table.longest = std::max(table.longest, x.length);
    }
    return table;
}

std::vector<uint8_t> tunstallDecode(const TunstallTable& table, const uint8_t* codes, size_t m, size_t n) {
    std::vector<uint8_t> out(n);
    uint8_t* at = out.data();
    size_t left = n;
    const size_t words = table.offset.size();
    for (size_t i = 0; i < m; i++) {
        if (codes[i] >= words) fail("unknown Tunstall code");
        size_t len = table.length[codes[i]];
        if (i + 1 < m) {
            if (len >= left) fail("Tunstall codes overrun the block");
        } else {
            if (len < left) fail("Tunstall codes end early");
            len = left;
        }
        // Words are short: a plain loop beats a call to memcpy.
        const uint8_t* word = table.bytes.data() + table.offset[codes[i]];
        for (size_t j = 0; j < len; j++) at[j] = word[j];
        at += len;
        left -= len;
    }
    return out;
}

std::vector<TunstallPair> tunstallPairs(const std::vector<uint8_t>& values) {
    uint64_t count[256] = {};
    for (uint8_t v : values) count[v]++;
    std::vector<TunstallPair> pairs;
    for (int v = 0; v < 256; v++)
        if (count[v]) pairs.push_back({uint8_t(v), uint8_t(count[v] * 255 / values.size())});
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const TunstallPair& a, const TunstallPair& b) { return a.probability > b.probability; });
    return pairs;
}

std::vector<uint8_t> tunstallEncode(const std::vector<TunstallPair>& pairs, const std::vector<uint8_t>& values) {
    TunstallTable table = buildTunstall(pairs);
    const size_t s = pairs.size();
    int rank[256];
    std::fill(rank, rank + 256, -1);
    for (size_t r = 0; r < s; r++) rank[pairs[r].symbol] = int(r);

    // Trie of the code words; node 0 is the empty word.
    std::vector<int> child(s, -1);
    std::vector<int> code(1, -1);
    for (size_t c = 0; c < table.offset.size(); c++) {
        size_t node = 0;
        for (uint32_t i = 0; i < table.length[c]; i++) {
            int r = rank[table.bytes[table.offset[c] + i]];
            if (child[node * s + r] < 0) {
                child[node * s + r] = int(code.size());
                code.push_back(-1);
                child.resize(code.size() * s, -1);
            }
            node = size_t(child[node * s + r]);
        }
        code[node] = int(c);
    }

    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < values.size()) {
        size_t node = 0;
        int last = -1;
        size_t lastEnd = i;
        size_t j = i;
        while (j < values.size()) {
            int next = child[node * s + rank[values[j]]];
            if (next < 0) break;
            node = size_t(next);
            j++;
            if (code[node] >= 0) {
                last = code[node];
                lastEnd = j;
            }
        }
        if (j == values.size() && code[node] < 0) {
            // Input ends inside a word: any word below this node will do.
            while (code[node] < 0) node = size_t(child[node * s]);
            last = code[node];
            lastEnd = j;
        }
        out.push_back(uint8_t(last));
        i = lastEnd;
    }
    return out;
}

}  // namespace crt
