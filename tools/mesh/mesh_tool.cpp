// torvanel-mesh - look into, make and unpack the show's mesh frames.
//
//   torvanel-mesh info FILE [--json]      a frame file (.cor), a bare stream or a PLY
//   torvanel-mesh encode MESH PICTURE OUT  a PLY or OBJ mesh and an image to a frame file
//   torvanel-mesh decode IN OUT.ply        a stream or frame file back to PLY
//   torvanel-mesh --help
//
// Options may stand anywhere after the command; "--" ends them, for file
// names that begin with a dash.
//
// Sums are over the values as the file holds them (positions in the file's
// units), colours as three bytes per vertex, the way the show decodes them.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "assets/ply_model.h"
#include "mesh_io.h"

// Asked for, the usage goes to standard output with status 0; after a
// mistake, to standard error with status 2.
static int usage(bool asked) {
    fprintf(asked ? stdout : stderr,
            "usage: torvanel-mesh info FILE [--json]\n"
            "       torvanel-mesh encode MESH.ply|MESH.obj PICTURE OUT.cor\n"
            "       torvanel-mesh decode IN.cor|IN.crt OUT.ply\n"
            "       torvanel-mesh --help\n");
    return asked ? 0 : 2;
}

static bool readBytes(const std::string& path, std::vector<uint8_t>* bytes) {
    try {
        std::vector<char> chars = readFileBytes(path);
        bytes->assign(chars.begin(), chars.end());
        return true;
    } catch (const std::exception& e) {
        fprintf(stderr, "torvanel-mesh: %s\n", e.what());
        return false;
    }
}

enum class Kind { Frame, Stream, Ply };

static Kind kindOf(const std::vector<uint8_t>& bytes) {
    static const uint8_t magic[4] = {0x00, 0x63, 0x7a, 0x78};
    if (bytes.size() >= 4 && memcmp(bytes.data(), "ply", 3) == 0) return Kind::Ply;
    if (bytes.size() >= 4 && memcmp(bytes.data(), magic, 4) == 0) return Kind::Stream;
    return Kind::Frame;
}

// The mesh of any of the three kinds; the picture size for frame files.
static bool loadAny(const std::string& path, ToolMesh* mesh, Kind* kind, size_t* pictureBytes) {
    std::vector<uint8_t> bytes;
    if (!readBytes(path, &bytes)) return false;
    *kind = kindOf(bytes);
    std::string error;
    bool ok = false;
    if (*kind == Kind::Ply) {
        ok = readMeshFile(path, mesh, &error);
        if (ok) mesh->attributes = {"position"};
        if (ok && !mesh->uv.empty()) mesh->attributes.push_back("uv");
        if (ok && !mesh->rgb.empty()) mesh->attributes.push_back("color");
    } else if (*kind == Kind::Stream) {
        ok = decodeStream(bytes.data(), bytes.size(), mesh, &error);
    } else {
        std::vector<uint8_t> stream, picture;
        ok = splitFrameFile(bytes, &stream, &picture, &error) && decodeStream(stream.data(), stream.size(), mesh, &error);
        *pictureBytes = picture.size();
    }
    if (!ok) fprintf(stderr, "torvanel-mesh: %s: %s\n", path.c_str(), error.c_str());
    return ok;
}

static int info(const std::string& path, bool json) {
    ToolMesh mesh;
    Kind kind;
    size_t pictureBytes = 0;
    if (!loadAny(path, &mesh, &kind, &pictureBytes)) return 1;
    double position[3] = {0, 0, 0}, uv[2] = {0, 0};
    unsigned long long colourSum = 0, indexSum = 0;
    for (size_t k = 0; k < mesh.xyz.size(); ++k) position[k % 3] += mesh.xyz[k];
    for (size_t k = 0; k < mesh.uv.size(); ++k) uv[k % 2] += mesh.uv[k];
    for (uint8_t c : mesh.rgb) colourSum += c;
    for (uint32_t i : mesh.index) indexSum += i;
    size_t vertices = mesh.xyz.size() / 3, faces = mesh.index.size() / 3;
    if (json) {
        printf("{\"vertices\": %zu, \"faces\": %zu, \"attributes\": [", vertices, faces);
        for (size_t k = 0; k < mesh.attributes.size(); ++k) printf("%s\"%s\"", k ? ", " : "", mesh.attributes[k].c_str());
        printf("], \"position_sum\": [%.9g, %.9g, %.9g], \"uv_sum\": [%.9g, %.9g], \"color_sum\": %llu, \"index_sum\": %llu",
               position[0], position[1], position[2], uv[0], uv[1], colourSum, indexSum);
        if (kind == Kind::Frame) printf(", \"picture_bytes\": %zu", pictureBytes);
        printf("}\n");
    } else {
        static const char* kinds[] = {"frame file", "compressed stream", "PLY mesh"};
        printf("%s: %s\n  vertices %zu, faces %zu\n  attributes:", path.c_str(), kinds[int(kind)], vertices, faces);
        for (const std::string& a : mesh.attributes) printf(" %s", a.c_str());
        printf("\n  position sum %.6g %.6g %.6g\n", position[0], position[1], position[2]);
        if (kind == Kind::Frame) printf("  picture %zu bytes\n", pictureBytes);
    }
    return 0;
}

static int encode(const std::string& meshPath, const std::string& picturePath, const std::string& outPath) {
    ToolMesh mesh;
    std::string error;
    std::vector<uint8_t> stream, picture;
    if (!readMeshFile(meshPath, &mesh, &error)) {
        fprintf(stderr, "torvanel-mesh: %s: %s\n", meshPath.c_str(), error.c_str());
        return 1;
    }
    if (!readBytes(picturePath, &picture)) return 1;
    if (!encodeStream(mesh, &stream, &error)) {
        fprintf(stderr, "torvanel-mesh: %s: %s\n", meshPath.c_str(), error.c_str());
        return 1;
    }
    std::vector<uint8_t> file = frameFileBytes(stream, picture);
    std::ofstream out(outPath, std::ios::binary);
    if (!out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()))) {
        fprintf(stderr, "torvanel-mesh: cannot write %s\n", outPath.c_str());
        return 1;
    }
    printf("%s: %zu vertices, %zu faces, stream %zu bytes, picture %zu bytes\n", outPath.c_str(), mesh.xyz.size() / 3,
           mesh.index.size() / 3, stream.size(), picture.size());
    return 0;
}

static int decode(const std::string& inPath, const std::string& outPath) {
    ToolMesh mesh;
    Kind kind;
    size_t pictureBytes = 0;
    if (!loadAny(inPath, &mesh, &kind, &pictureBytes)) return 1;
    if (!writePly(outPath, mesh)) {
        fprintf(stderr, "torvanel-mesh: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    std::vector<std::string> files;
    bool json = false, help = false, optionsEnd = false, unknown = false;
    for (int k = 1; k < argc; ++k) {
        std::string arg = argv[k];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-')
            files.push_back(arg);
        else if (arg == "--")
            optionsEnd = true;
        else if (arg == "--help" || arg == "-h")
            help = true;
        else if (arg == "--json")
            json = true;
        else
            unknown = true;
    }
    if (help) return usage(true);
    if (unknown || files.empty()) return usage(false);
    std::string command = files[0];
    size_t operands = files.size() - 1;
    if (command == "info" && operands == 1) return info(files[1], json);
    if (json) return usage(false);  // only info writes JSON
    if (command == "encode" && operands == 3) return encode(files[1], files[2], files[3]);
    if (command == "decode" && operands == 2) return decode(files[1], files[2]);
    return usage(false);
}
