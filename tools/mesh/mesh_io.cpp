#include "mesh_io.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "assets/ply_model.h"
#include "crt_encoder.h"
#include "memory_stream.h"
#include "ply_reader.h"

static bool readPly(const std::string& path, ToolMesh* mesh, std::string* error) {
    try {
        std::vector<char> bytes = readFileBytes(path);
        ply::memory_stream in(bytes.data(), bytes.size());
        ply::File file = ply::parseHeader(in);
        auto xyz = ply::request(file, "vertex", {"x", "y", "z"});
        std::shared_ptr<ply::Buffer> uv, rgb, faces;
        for (auto names : {std::vector<std::string>{"s", "t"}, {"u", "v"}, {"texture_u", "texture_v"}})
            if (!uv && ply::hasProperty(file.header, "vertex", names[0]) && ply::hasProperty(file.header, "vertex", names[1]))
                uv = ply::request(file, "vertex", names);
        if (ply::hasProperty(file.header, "vertex", "red")) rgb = ply::request(file, "vertex", {"red", "green", "blue"});
        for (const char* name : {"vertex_indices", "vertex_index"})
            if (!faces && ply::hasProperty(file.header, "face", name)) faces = ply::request(file, "face", {name});
        ply::read(file, in);
        mesh->xyz = ply::toFloat(*xyz);
        if (uv) mesh->uv = ply::toFloat(*uv);
        if (rgb) mesh->rgb = ply::toUint8(*rgb);
        size_t dropped = 0;
        if (faces) mesh->index = ply::toTriangles(*faces, xyz->count, &dropped);
        if (dropped) fprintf(stderr, "%s: %zu faces dropped\n", path.c_str(), dropped);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

// OBJ indices are 1-based, negative ones count back from the end.
static bool objIndex(long value, size_t count, size_t* out) {
    long resolved = value > 0 ? value - 1 : long(count) + value;
    if (value == 0 || resolved < 0 || size_t(resolved) >= count) return false;
    *out = size_t(resolved);
    return true;
}

static bool readObj(const std::string& path, ToolMesh* mesh, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::vector<float> positions, uvs;
    std::map<std::pair<size_t, long>, uint32_t> vertexOf;  // (position, uv or -1) -> output vertex
    std::string line;
    size_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "v") {
            float x = 0, y = 0, z = 0;
            words >> x >> y >> z;
            positions.insert(positions.end(), {x, y, z});
        } else if (tag == "vt") {
            float u = 0, v = 0;
            words >> u >> v;
            uvs.insert(uvs.end(), {u, v});
        } else if (tag == "f") {
            std::vector<uint32_t> corners;
            std::string corner;
            while (words >> corner) {
                long p = 0, t = 0;
                bool hasUv = sscanf(corner.c_str(), "%ld/%ld", &p, &t) == 2;
                if (!hasUv && sscanf(corner.c_str(), "%ld", &p) != 1) p = 0;
                size_t pi = 0, ti = 0;
                if (!objIndex(p, positions.size() / 3, &pi) || (hasUv && !objIndex(t, uvs.size() / 2, &ti))) {
                    *error = path + ":" + std::to_string(lineNumber) + ": face index out of range";
                    return false;
                }
                auto key = std::make_pair(pi, hasUv ? long(ti) : -1L);
                auto found = vertexOf.find(key);
                if (found == vertexOf.end()) {
                    found = vertexOf.emplace(key, uint32_t(mesh->xyz.size() / 3)).first;
                    mesh->xyz.insert(mesh->xyz.end(), positions.begin() + pi * 3, positions.begin() + pi * 3 + 3);
                    mesh->uv.push_back(hasUv ? uvs[ti * 2] : 0.0f);
                    mesh->uv.push_back(hasUv ? uvs[ti * 2 + 1] : 0.0f);
                }
                corners.push_back(found->second);
            }
            for (size_t k = 1; k + 1 < corners.size(); ++k)  // polygons as fans
                mesh->index.insert(mesh->index.end(), {corners[0], corners[k], corners[k + 1]});
        }
    }
    if (uvs.empty()) mesh->uv.clear();
    return true;
}

bool readMeshFile(const std::string& path, ToolMesh* mesh, std::string* error) {
    size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot);
    return ext == ".obj" || ext == ".OBJ" ? readObj(path, mesh, error) : readPly(path, mesh, error);
}

bool decodeStream(const uint8_t* data, size_t size, ToolMesh* mesh, std::string* error) {
    crt::Decoder decoder(data, size);
    if (!decoder.ok()) {
        *error = decoder.error();
        return false;
    }
    size_t nvert = decoder.nvert(), nface = decoder.nface();
    mesh->xyz.assign(nvert * 3, 0.0f);
    mesh->index.assign(nface * 3, 0);
    decoder.setPositions(mesh->xyz.data());
    decoder.setIndex(mesh->index.data());
    if (decoder.hasAttribute("uv")) {
        mesh->uv.assign(nvert * 2, 0.0f);
        decoder.setUvs(mesh->uv.data());
    }
    if (decoder.hasAttribute("color")) {
        mesh->rgb.assign(nvert * 3, 0);
        decoder.setColors(mesh->rgb.data(), 3);
    }
    for (const crt::AttributeInfo& a : decoder.attributes) mesh->attributes.push_back(a.name);
    if (!decoder.decode()) {
        *error = decoder.error();
        return false;
    }
    return true;
}

bool encodeStream(const ToolMesh& mesh, std::vector<uint8_t>* stream, std::string* error,
                  std::vector<uint32_t>* order) {
    uint32_t nvert = uint32_t(mesh.xyz.size() / 3), nface = uint32_t(mesh.index.size() / 3);
    crt::Encoder encoder(nvert, nface);
    encoder.setIndex(mesh.index.data());
    float step = nface ? crt::edgeStep(mesh.xyz.data(), mesh.index.data(), nface) : crt::cloudStep(mesh.xyz.data(), nvert);
    encoder.addPositions(mesh.xyz.data(), step > 0 ? step : crt::bitsStep(mesh.xyz.data(), nvert, 14));
    if (mesh.uv.size() == size_t(nvert) * 2) encoder.addUvs(mesh.uv.data(), 12);
    if (mesh.rgb.size() == size_t(nvert) * 3) encoder.addColors(mesh.rgb.data(), 3);
    if (!encoder.encode()) {
        *error = encoder.error();
        return false;
    }
    *stream = encoder.stream;
    if (order) *order = encoder.vertexOrder();
    return true;
}

static void appendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
}

std::vector<uint8_t> frameFileBytes(const std::vector<uint8_t>& stream, const std::vector<uint8_t>& picture,
                                    const int32_t (*records)[3]) {
    std::vector<uint8_t> file;
    appendU32(file, uint32_t(stream.size()));
    file.insert(file.end(), stream.begin(), stream.end());
    for (int r = 0; r < 22; ++r)
        for (int k = 0; k < 3; ++k) appendU32(file, records ? uint32_t(records[r][k]) : 0u);
    appendU32(file, uint32_t(picture.size()));
    file.insert(file.end(), picture.begin(), picture.end());
    return file;
}

static bool readU32(const std::vector<uint8_t>& bytes, size_t at, uint32_t* out) {
    if (bytes.size() < 4 || at > bytes.size() - 4) return false;
    *out = uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 | uint32_t(bytes[at + 3]) << 24;
    return true;
}

bool splitFrameFile(const std::vector<uint8_t>& file, std::vector<uint8_t>* stream, std::vector<uint8_t>* picture,
                    std::string* error) {
    uint32_t meshLength = 0, pictureLength = 0;
    size_t recordsEnd = 0;
    if (!readU32(file, 0, &meshLength) || meshLength > file.size() - 4) {
        *error = "mesh length past the end of the file";
        return false;
    }
    recordsEnd = 4 + size_t(meshLength) + 264;
    if (!readU32(file, recordsEnd, &pictureLength) || pictureLength > file.size() - recordsEnd - 4) {
        *error = "picture length past the end of the file";
        return false;
    }
    stream->assign(file.begin() + 4, file.begin() + 4 + meshLength);
    picture->assign(file.begin() + recordsEnd + 4, file.begin() + recordsEnd + 4 + pictureLength);
    return true;
}

bool writePly(const std::string& path, const ToolMesh& mesh) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    size_t nvert = mesh.xyz.size() / 3;
    bool uv = mesh.uv.size() == nvert * 2, rgb = mesh.rgb.size() == nvert * 3;
    out << "ply\nformat binary_little_endian 1.0\ncomment written by torvanel-mesh\nelement vertex " << nvert
        << "\nproperty float x\nproperty float y\nproperty float z\n";
    if (uv) out << "property float s\nproperty float t\n";
    if (rgb) out << "property uchar red\nproperty uchar green\nproperty uchar blue\n";
    out << "element face " << mesh.index.size() / 3 << "\nproperty list uchar int vertex_indices\nend_header\n";
    for (size_t v = 0; v < nvert; ++v) {
        out.write(reinterpret_cast<const char*>(&mesh.xyz[v * 3]), 12);
        if (uv) out.write(reinterpret_cast<const char*>(&mesh.uv[v * 2]), 8);
        if (rgb) out.write(reinterpret_cast<const char*>(&mesh.rgb[v * 3]), 3);
    }
    for (size_t f = 0; f + 2 < mesh.index.size(); f += 3) {
        out.put(3);
        out.write(reinterpret_cast<const char*>(&mesh.index[f]), 12);
    }
    return bool(out);
}
