// picture_bombs.h - small files whose headers claim enormous pictures, for
// the tests of everything that decodes a picture. Only the header is real:
// a reader that believes it would allocate gigabytes before finding out.
#pragma once
#include <cstdint>
#include <vector>

// A PNG signature and IHDR chunk claiming width x height, then junk.
inline std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0, 0x12, 0x34, 0x56, 0x78});
    bytes.resize(8192, 0x5a);
    return bytes;
}

// A JPEG start, one application segment and a baseline frame header
// claiming width x height, then junk.
inline std::vector<uint8_t> jpegClaiming(uint16_t width, uint16_t height) {
    std::vector<uint8_t> bytes = {0xff, 0xd8, 0xff, 0xe0, 0, 4, 'J', 'F', 0xff, 0xc0, 0, 11, 8};
    for (uint16_t v : {height, width}) bytes.insert(bytes.end(), {uint8_t(v >> 8), uint8_t(v)});
    bytes.insert(bytes.end(), {1, 1, 0x11, 0});
    bytes.resize(8192, 0x5a);
    return bytes;
}
