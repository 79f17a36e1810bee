#include "forge.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <set>

static const int JPEG_QUALITY = 88;

ForgeFigure makeForgeFigure(Capture capture) {
    ForgeFigure f;
    f.capture = capture;
    f.body = capture == CAPTURE_WALKING ? walkerBody() : secondBody();
    f.mesh = buildFigure(f.body);
    f.canvas = paintFigure(f.mesh, f.body);
    return f;
}

std::vector<ForgeFile> forgeFileList() {
    std::vector<ForgeFile> files;
    const int walking[][2] = {{4800, 10}, {4208, 2}, {4589, 2}, {4502, 160}, {800, 40}};
    for (const auto& take : walking)
        for (int i = 0; i < take[1]; ++i) files.push_back({CAPTURE_WALKING, take[0] + i});
    for (int i = 0; i < 20; ++i) files.push_back({CAPTURE_SECOND, 300 + 4 * i});
    return files;
}

std::string forgeFilePath(const ForgeFile& file) {
    char name[64];
    snprintf(name, sizeof(name), "DemoQTR/%s/%05d.cor", file.capture == CAPTURE_WALKING ? "walkingnude" : "nude2",
             file.number);
    return name;
}

static ToolMesh toolMesh(const ForgeFigure& figure, const PosedFigure& posed) {
    ToolMesh mesh;
    mesh.xyz = posed.xyz;
    mesh.uv = figure.mesh.uv;
    mesh.index = figure.mesh.index;
    return mesh;
}

ToolMesh frameMesh(const ForgeFigure& figure, int number) {
    return toolMesh(figure, captureFrame(figure.mesh, figure.capture, number));
}

bool frameFile(const ForgeFigure& figure, int number, std::vector<uint8_t>* bytes, std::string* error) {
    PosedFigure posed = captureFrame(figure.mesh, figure.capture, number);
    ToolMesh mesh = toolMesh(figure, posed);
    std::vector<uint8_t> stream, picture;
    if (!encodeStream(mesh, &stream, error)) return false;
    if (!cv::imencode(".jpg", framePicture(figure.canvas, number), picture, {cv::IMWRITE_JPEG_QUALITY, JPEG_QUALITY})) {
        *error = "the picture cannot be encoded";
        return false;
    }
    int32_t records[22][3] = {{number, 25, int32_t(mesh.index.size() / 3)}};
    for (int j = 0; j < JOINT_COUNT; ++j) {
        records[1 + j][0] = int32_t(std::lround(posed.joints[j].x));
        records[1 + j][1] = int32_t(std::lround(posed.joints[j].y));
        records[1 + j][2] = int32_t(std::lround(posed.joints[j].z));
    }
    *bytes = frameFileBytes(stream, picture, records);
    return true;
}

bool forgeFrames(const std::string& out, int every) {
    // Two sequences share files 4589 and 4590: write each file once.
    std::vector<ForgeFile> files;
    std::set<std::string> seen;
    std::vector<ForgeFile> all = forgeFileList();
    for (size_t i = 0; i < all.size(); i += size_t(every > 0 ? every : 1))
        if (seen.insert(forgeFilePath(all[i])).second) files.push_back(all[i]);
    for (const char* folder : {"/DemoQTR/walkingnude", "/DemoQTR/nude2"}) {
        std::error_code ec;
        std::filesystem::create_directories(out + folder, ec);
        if (ec) {
            printf("meshforge - %s%s - %s\n", out.c_str(), folder, ec.message().c_str());
            return false;
        }
    }
    const ForgeFigure figures[2] = {makeForgeFigure(CAPTURE_WALKING), makeForgeFigure(CAPTURE_SECOND)};
    int failures = 0;
#pragma omp parallel for schedule(dynamic) reduction(+ : failures)
    for (int i = 0; i < int(files.size()); ++i) {
        std::vector<uint8_t> bytes;
        std::string error, path = out + "/" + forgeFilePath(files[i]);
        if (!frameFile(figures[files[i].capture], files[i].number, &bytes, &error)) {
            printf("meshforge - %s - %s\n", path.c_str(), error.c_str());
            ++failures;
            continue;
        }
        std::ofstream file(path, std::ios::binary);
        if (!file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()))) {
            printf("meshforge - %s - cannot write the file\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0;
}
