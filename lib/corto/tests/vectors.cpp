#include "vectors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>

std::string vectorDir() {
    const char* env = std::getenv("CORTO_TESTDATA");
    return env && *env ? env : CORTO_DEFAULT_TESTDATA;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

nlohmann::json readJson(const std::string& path) {
    std::ifstream in(path);
    return nlohmann::json::parse(in);
}

std::vector<std::string> vectorNames() {
    std::vector<std::string> names;
    if (DIR* d = opendir(vectorDir().c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 5 && n.compare(n.size() - 5, 5, ".json") == 0) names.push_back(n.substr(0, n.size() - 5));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

template <class T>
static void flatten(const nlohmann::json& rows, std::vector<T>& out) {
    for (const nlohmann::json& r : rows)
        for (const nlohmann::json& v : r) out.push_back(T(v.get<double>()));
}

MeshIn meshFromJson(const nlohmann::json& m) {
    MeshIn in;
    in.nvert = m["vertex_count"];
    in.nface = m["face_count"];
    flatten(m["positions"], in.position);
    if (m.contains("faces")) flatten(m["faces"], in.index);
    if (m.contains("uvs")) flatten(m["uvs"], in.uv);
    if (m.contains("normals")) flatten(m["normals"], in.normal);
    if (m.contains("radius"))
        for (const nlohmann::json& v : m["radius"]) in.radius.push_back(v.get<float>());
    if (m.contains("colors")) {
        flatten(m["colors"], in.color);
        in.colorComponents = int(m["colors"][0].size());
    }
    return in;
}

float attributeQ(const nlohmann::json& j, const std::string& name) {
    for (const nlohmann::json& a : j["attributes"]) {
        if (a["name"] != name) continue;
        uint32_t bits = uint32_t(std::stoul(a["q_bits"].get<std::string>(), nullptr, 16));
        float q;
        memcpy(&q, &bits, 4);
        return q;
    }
    return 0;
}

VectorEncoding encodeVector(const std::string& name, const nlohmann::json& j, const MeshIn& in) {
    VectorEncoding ve;
    ve.encoder.reset(new crt::Encoder(in.nvert, in.nface, crt::Entropy(j["entropy"].get<int>())));
    crt::Encoder& enc = *ve.encoder;
    enc.setIndex(in.index.data());
    enc.addPositions(in.position.data(), attributeQ(j, "position"));
    if (!in.uv.empty()) enc.addUvs(in.uv.data(), -std::ilogb(attributeQ(j, "uv")));
    if (!in.radius.empty()) enc.addAttribute("radius", in.radius.data(), 1, attributeQ(j, "radius"));
    if (name == "sphere_v10_u8_c4") std::fill(ve.colorBits, ve.colorBits + 4, 4);
    if (in.colorComponents) enc.addColors(in.color.data(), in.colorComponents, ve.colorBits);
    ve.border = name.find("border") != std::string::npos;
    if (!in.normal.empty()) enc.addNormals(in.normal.data(), 10, ve.border ? crt::NORMAL_BORDER : crt::NORMAL_DIFF);
    for (const nlohmann::json& g : j["groups"]) enc.addGroup(g["end"], g["properties"].get<std::map<std::string, std::string>>());
    enc.exif = j["exif"].get<std::map<std::string, std::string>>();
    return ve;
}
