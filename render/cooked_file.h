// cooked_file.h - pixels as the loader hands them to the driver, stored
// beside the file they came from ("paper.png" -> "paper.png.cooked") so that
// loading skips the decoding. The header names the source's size and content
// hash: a source replaced or edited by hand no longer matches and is decoded
// again. Modification times decide nothing (copies and packages change them).
//
//   std::vector<uint8_t> source = ...;             // the picture file's bytes
//   CookedPixels cooked;
//   std::string why;
//   CookedLookup found = readCookedFile(cookedPathFor(path), source, COOKED_RGB, &cooked, &why);
//   if (found == COOKED_FOUND) ... cooked.pixels ...
//   else if (found != COOKED_MISSING) printf("... %s\n", why.c_str());  // stale or damaged
//
// File (little-endian): the 8-byte magic "TVCOOKD1", uint32 kind, width,
// height, sourceWidth, sourceHeight, uint64 source size, source hash, pixel
// hash, uint32 compressed size, pixel byte count, reserved 0; then the
// pixels compressed as one LZ4 block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

enum CookedKind : uint32_t {
    COOKED_RGB = 1,   // rows of R, G, B, top row first, width a multiple of 4
    COOKED_DXT1 = 2,  // DXT1 blocks (see dxt1.h)
};

struct CookedPixels {
    CookedKind kind = COOKED_RGB;
    int width = 0, height = 0;
    // The size the source decodes to before any squeeze: the loader's limits
    // apply to it.
    int sourceWidth = 0, sourceHeight = 0;
    cv::Mat pixels;  // one row of bytes (reshape(3, height) gives the RGB rows)
};

enum CookedLookup {
    COOKED_FOUND,
    COOKED_MISSING,  // no cooked file: decode, nothing to say
    COOKED_STALE,    // made from other source bytes
    COOKED_DAMAGED,  // not a cooked file, truncated, or its pixels do not check
};

// Where the cooked form of a source file lives.
std::string cookedPathFor(const std::string& sourcePath);

// The content hash the header records (64-bit XXH3).
uint64_t contentHash(const uint8_t* bytes, size_t size);

// The whole cooked file for pixels made from `source`.
std::vector<uint8_t> encodeCookedFile(const CookedPixels& cooked, const uint8_t* source, size_t sourceSize);

// Reads a cooked file and checks it against the source bytes and the kind
// wanted; on anything but COOKED_FOUND, *why holds the reason in a few words.
// The pixel byte count must match the kind and sides. Never throws.
CookedLookup readCookedFile(const std::string& cookedPath, const std::vector<uint8_t>& source, CookedKind kind,
                            CookedPixels* cooked, std::string* why);
