#include "render/cooked_file.h"

#include <lz4.h>
#include <sys/stat.h>
#include <xxhash.h>

#include <cerrno>
#include <cstring>

#include "platform/data_dir.h"
#include "platform/file_bytes.h"
#include "render/dxt1.h"
#include "render/picture.h"

static const char MAGIC[8] = {'T', 'V', 'C', 'O', 'O', 'K', 'D', '1'};
static const size_t HEADER_BYTES = 64;

std::string cookedPathFor(const std::string& sourcePath) { return sourcePath + ".cooked"; }

uint64_t contentHash(const uint8_t* bytes, size_t size) { return XXH3_64bits(bytes, size); }

static void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i)));
}
static void put64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; i++) out.push_back(uint8_t(v >> (8 * i)));
}
static uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
static uint64_t get64(const uint8_t* p) { return uint64_t(get32(p)) | uint64_t(get32(p + 4)) << 32; }

// The bytes pixels of this kind and sides take; 0 for sides outside the
// picture budget or an unknown kind.
static size_t pixelBytes(uint32_t kind, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || uint64_t(width) * height > uint64_t(PICTURE_PIXEL_BUDGET)) return 0;
    if (kind == COOKED_RGB) return width % 4 == 0 ? size_t(width) * height * 3 : 0;
    if (kind == COOKED_DXT1) return dxt1Size(int(width), int(height));
    return 0;
}

std::vector<uint8_t> encodeCookedFile(const CookedPixels& cooked, const uint8_t* source, size_t sourceSize) {
    const uint8_t* pixels = cooked.pixels.ptr<uint8_t>();
    size_t size = cooked.pixels.total() * cooked.pixels.elemSize();
    std::vector<uint8_t> out(MAGIC, MAGIC + 8);
    put32(out, cooked.kind);
    put32(out, uint32_t(cooked.width));
    put32(out, uint32_t(cooked.height));
    put32(out, uint32_t(cooked.sourceWidth));
    put32(out, uint32_t(cooked.sourceHeight));
    put64(out, sourceSize);
    put64(out, contentHash(source, sourceSize));
    put64(out, contentHash(pixels, size));
    size_t sizeAt = out.size();
    put32(out, 0);  // the compressed size, once known
    put32(out, uint32_t(size));
    put32(out, 0);
    out.resize(HEADER_BYTES + size_t(LZ4_compressBound(int(size))));
    int packed = LZ4_compress_default(reinterpret_cast<const char*>(pixels), reinterpret_cast<char*>(&out[HEADER_BYTES]),
                                      int(size), int(out.size() - HEADER_BYTES));
    out.resize(HEADER_BYTES + size_t(packed));
    for (int i = 0; i < 4; i++) out[sizeAt + size_t(i)] = uint8_t(uint32_t(packed) >> (8 * i));
    return out;
}

CookedLookup readCookedFile(const std::string& cookedPath, const std::vector<uint8_t>& source, CookedKind kind,
                            CookedPixels* cooked, std::string* why) {
    struct stat info;
    // Below the data root, as readWholeFile opens it: a tool started away
    // from its data would otherwise never find a cooked file.
    if (stat(dataFile(cookedPath).c_str(), &info) != 0 && errno == ENOENT) return COOKED_MISSING;
    std::vector<uint8_t> file;
    // A cooked file holds at most the budget's pixels and LZ4's small overhead.
    size_t maxBytes = HEADER_BYTES + size_t(PICTURE_PIXEL_BUDGET) * 3 / 255 * 256 + 64;
    if (!readWholeFile(cookedPath, maxBytes, &file, why)) return COOKED_DAMAGED;
    if (file.size() < HEADER_BYTES || memcmp(file.data(), MAGIC, 8) != 0) {
        *why = "not a cooked file";
        return COOKED_DAMAGED;
    }
    const uint8_t* h = file.data();
    if (get64(h + 28) != source.size() || get64(h + 36) != contentHash(source.data(), source.size())) {
        *why = "made from another version of the file";
        return COOKED_STALE;
    }
    uint32_t fileKind = get32(h + 8), width = get32(h + 12), height = get32(h + 16);
    uint32_t packed = get32(h + 52), size = get32(h + 56);
    if (fileKind != kind) {
        *why = "holds another kind of pixels";
        return COOKED_DAMAGED;
    }
    if (size == 0 || size != pixelBytes(fileKind, width, height) || packed != file.size() - HEADER_BYTES ||
        size > uint32_t(LZ4_MAX_INPUT_SIZE)) {
        *why = "header does not match its contents";
        return COOKED_DAMAGED;
    }
    cv::Mat pixels(1, int(size), CV_8UC1);
    int unpacked = LZ4_decompress_safe(reinterpret_cast<const char*>(&file[HEADER_BYTES]), pixels.ptr<char>(),
                                       int(packed), int(size));
    if (unpacked != int(size) || contentHash(pixels.ptr<uint8_t>(), size) != get64(h + 44)) {
        *why = "pixels damaged";
        return COOKED_DAMAGED;
    }
    cooked->kind = kind;
    cooked->width = int(width);
    cooked->height = int(height);
    cooked->sourceWidth = int(get32(h + 20));
    cooked->sourceHeight = int(get32(h + 24));
    cooked->pixels = pixels;
    return COOKED_FOUND;
}
