// torvanel-meshsheet: a contact sheet of the six figure sequences, drawn the
// way the show draws them (decode, normals, upload, the mesh camera, the
// object program with the paper) and composited over grey, so what the
// scenes key out shows as background. Needs a display (xvfb-run is fine).
//
//   torvanel-meshsheet --resources Resources --sheet build/meshsheet.png
//
// Per sequence a row: a few frames from the front, the first one turned to
// the side, and for the stumble the thorn crown where the scenes put it. A
// last row of close-ups on the joints the files record (a face, a shoulder,
// knees, a hand), the size the scenes sometimes show them.
#include <cstdio>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "assets/mesh_sequence.h"
#include "assets/ply_model.h"
#include "figure.h"
#include "render/render_target.h"
#include "render/shader_program.h"
#include "render/texture.h"
#include "tests/support/gl_test_context.h"

static const int TILE_W = 640, TILE_H = 360, LABEL_H = 22;

struct SheetRow {
    const char* name;
    const char* folder;
    int first, step;
    std::vector<int> frames;  // frame indices shown
};

// A close-up: the camera `distance` m from one recorded joint of a frame,
// the figure turned about it.
struct CloseUp {
    const char* name;
    const char* folder;
    int number;
    Joint joint;
    float distance, turn;
};

// The target's colour over grey, upright, with a label.
static cv::Mat readTile(const RenderTarget& target, const std::string& label) {
    std::vector<uint8_t> rgba(size_t(TILE_W) * TILE_H * 4);
    glBindTexture(GL_TEXTURE_2D, target.colourTextures[0]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    cv::Mat tile(TILE_H + LABEL_H, TILE_W, CV_8UC3, cv::Scalar(72, 72, 72));
    for (int y = 0; y < TILE_H; ++y)
        for (int x = 0; x < TILE_W; ++x) {
            const uint8_t* p = &rgba[(size_t(TILE_H - 1 - y) * TILE_W + x) * 4];
            // Edge pixels hold the cyan clear in proportion to 1 - alpha: swap it for grey.
            float clear = 1 - p[3] / 255.0f;
            const float cyan[3] = {255, 255, 0};  // B, G, R
            cv::Vec3b& out = tile.at<cv::Vec3b>(LABEL_H + y, x);
            for (int k = 0; k < 3; ++k) out[k] = cv::saturate_cast<uint8_t>(p[2 - k] - clear * cyan[k] + clear * 128);
        }
    cv::putText(tile, label, {6, 16}, cv::FONT_HERSHEY_SIMPLEX, 0.45, cv::Scalar(235, 235, 235), 1, cv::LINE_AA);
    return tile;
}

int main(int argc, char** argv) {
    std::string resources = "Resources", sheetPath = "meshsheet.png";
    for (int i = 1; i < argc; i++) {
        if (!std::strcmp(argv[i], "--resources") && i + 1 < argc) resources = argv[++i];
        else if (!std::strcmp(argv[i], "--sheet") && i + 1 < argc) sheetPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: torvanel-meshsheet [--resources DIR] [--sheet OUT.png]\n");
            return 2;
        }
    }
    if (!glTestContextAvailable()) {
        std::fprintf(stderr, "meshsheet: no GL context\n");
        return 1;
    }
    ShaderProgram program;
    program.load(resources + "/shaders//v_object.cpp", resources + "/shaders//f_object.cpp");
    Texture paper;
    loadTexture(paper, resources + "/torvanel//paper.png", false, false);
    GLuint thorn = 0;
    loadPlyModel(resources + "/torvanel//thorn.ply", &thorn);

    const SheetRow rows[] = {
        {"walk4800 hanging", "walkingnude", 4800, 1, {0, 3, 5, 8}},
        {"walk4208 falling", "walkingnude", 4208, 1, {0, 1}},
        {"walk4589 held stride", "walkingnude", 4589, 1, {0, 1}},
        {"walk4502 walk in place", "walkingnude", 4502, 1, {0, 5, 10, 15, 20}},
        {"walk800 stumble", "walkingnude", 800, 1, {0, 8, 14, 20, 30}},
        {"nude300 turn and reach", "nude2", 300, 4, {0, 5, 10, 15}},
    };
    const CloseUp closeUps[] = {
        {"face", "walkingnude", 4502, HEAD, 0.55f, 0},
        {"face, three quarters", "nude2", 300, HEAD, 0.55f, 50},
        {"face in profile", "walkingnude", 4589, HEAD, 0.55f, -90},
        {"shoulder raised", "nude2", 320, R_SHOULDER, 1.0f, 0},
        {"knees bent", "walkingnude", 4208, L_KNEE, 1.1f, 20},
        {"hand", "walkingnude", 808, R_HAND, 0.55f, 0},
        {"face", "nude2", 340, HEAD, 0.55f, -20},
        {"arms over the head", "walkingnude", 4803, NECK, 1.0f, 30},
        {"hip and knee in the stride", "walkingnude", 4512, L_KNEE, 1.2f, -70},
        {"elbows bent", "walkingnude", 820, CHEST, 1.1f, 160},
        {"fists on the rope", "walkingnude", 4800, L_HAND, 0.6f, 0},
        {"open hand", "walkingnude", 4208, L_HAND, 0.6f, 0},
    };
    RenderTarget target;
    target.create(TILE_W, TILE_H, 4);
    MeshSequence options;
    std::vector<cv::Mat> lines;
    // Draws one frame file; the camera placed by `place` after the mesh camera.
    auto drawTile = [&](const std::string& folder, int number, const char* label, auto place, bool crowned) {
        char path[512];
        snprintf(path, sizeof(path), "%s/DemoQTR//%s//%05d.cor", resources.c_str(), folder.c_str(), number);
        MeshFrame frame = loadMeshFrame(options, path, true);
        computeNormals(frame);
        uploadMeshFrame(frame, true, false);
        glEnable(GL_DEPTH_TEST);  // as the scenes leave it
        meshCamera();
        place(frame);
        drawMeshFrame(false, target, program, frame.texture, frame.displayList, paper.id);
        if (crowned && thorn) {
            ShaderProgram::unuse();
            glPushMatrix();
            glColor3f(1, 1, 1);
            glTranslatef(-0.0756f, 0.9f - 0.1065f, -0.197f);  // where the scenes crown the head
            glScalef(0.113f, 0.113f, 0.113f);
            glCallList(thorn);
            glPopMatrix();
        }
        target.resolve(2);
        glPopMatrix();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        ShaderProgram::unuse();
        cv::Mat tile = readTile(target, label);
        glDeleteLists(frame.displayList, 1);
        glDeleteTextures(1, &frame.texture.id);
        return tile;
    };
    for (const SheetRow& row : rows) {
        std::vector<cv::Mat> tiles;
        for (size_t c = 0; c <= row.frames.size(); ++c) {
            bool side = c == row.frames.size();  // the last tile: the first frame, turned
            int index = row.frames[side ? 0 : c], number = row.first + row.step * index;
            bool crowned = row.first == 800 && index == 20;
            char label[128];
            snprintf(label, sizeof(label), "%s  %05d%s%s", row.name, number, side ? "  side" : "",
                     crowned ? "  thorn" : "");
            auto place = [&](const MeshFrame&) {
                // Nearer than the bare camera, as the scenes draw them; lower for
                // the hanging take, so its fists stay in view.
                glTranslatef(0, row.first == 4800 ? -0.25f : 0.05f, 1.0f);
                if (side) glRotatef(-90, 0, 1, 0);
            };
            tiles.push_back(drawTile(row.folder, number, label, place, crowned));
        }
        while (tiles.size() < 6) tiles.push_back(cv::Mat(TILE_H + LABEL_H, TILE_W, CV_8UC3, cv::Scalar(40, 40, 40)));
        cv::Mat line;
        cv::hconcat(tiles, line);
        lines.push_back(line);
    }
    std::vector<cv::Mat> close;
    for (const CloseUp& shot : closeUps) {
        char label[128];
        snprintf(label, sizeof(label), "close: %s  %05d", shot.name, shot.number);
        auto place = [&](const MeshFrame& frame) {
            const int32_t* at = frame.extra[1 + shot.joint];  // millimetres
            glTranslatef(0, 0, 4 - shot.distance);
            glRotatef(shot.turn, 0, 1, 0);
            // The head joint is at the top of the neck: look at the face above it.
            float rise = shot.joint == HEAD ? 0.08f : 0;
            glTranslatef(-at[0] * 0.001f, 0.9f - at[1] * 0.001f - rise, -at[2] * 0.001f);
        };
        close.push_back(drawTile(shot.folder, shot.number, label, place, false));
        if (close.size() == 6) {
            cv::Mat line;
            cv::hconcat(close, line);
            lines.push_back(line);
            close.clear();
        }
    }
    cv::Mat sheet;
    cv::vconcat(lines, sheet);
    if (!cv::imwrite(sheetPath, sheet)) {
        std::fprintf(stderr, "meshsheet: cannot write %s\n", sheetPath.c_str());
        return 1;
    }
    std::printf("meshsheet: %s\n", sheetPath.c_str());
    return 0;
}
