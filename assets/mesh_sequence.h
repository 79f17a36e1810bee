// mesh_sequence.h - captured figures: one compressed mesh and its picture
// per frame file, decoded in parallel at set-up, drawn through a fixed camera
// into an off-screen target.
//
// Frame file (little-endian): int32 L, L bytes of compressed mesh, 22 records
// of three int32 carried as they are, int32 M, M bytes of picture (any image
// file; M = 0: none). Positions are stored in millimetres.
#pragma once
#include <GL/glew.h>
#include <cstdint>
#include <functional>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "render/texture.h"

struct RenderTarget;
struct ShaderProgram;

constexpr int MESH_EXTRA_RECORDS = 22;

// The decoded mesh and picture live only until the upload, which keeps the
// triangle count.
struct MeshFrame {
    int32_t extra[MESH_EXTRA_RECORDS][3] = {};
    std::vector<uint16_t> indices;  // three per triangle; files index at most 65536 vertices
    std::vector<float> positions;   // 3 per vertex, metres
    std::vector<float> uvs;         // 2 per vertex
    std::vector<float> normals;     // 3 per vertex
    cv::Mat picture;                // B, G, R
    std::vector<uint8_t> compressedPicture;  // the picture as DXT1, when the loader compressed it
    int compressedWidth = 0, compressedHeight = 0;
    Texture texture;
    GLuint displayList = 0;
    int triangleCount = 0;  // of the display list
};

struct MeshSequence {
    std::vector<MeshFrame> frames;  // sized before loading, filled by index
    bool grayscale = false;
    float pictureScale = 1.0f;
};

// Decodes a frame file held in memory. A damaged file gives an empty frame
// and one line naming `path`.
MeshFrame parseMeshFrame(const MeshSequence& sequence, const uint8_t* data, size_t size, bool readPicture,
                         const std::string& path);

// Reads and decodes one frame file (no GL work).
MeshFrame loadMeshFrame(const MeshSequence& sequence, const std::string& path, bool readPicture);

// The frame's 8-bit colour picture compressed to DXT1 in its place, as the
// loader uploads it when the driver takes DXT1; other pictures stay.
void compressFramePicture(MeshFrame& frame);

// The cooked file of a frame file (cooked_file.h): its picture's DXT1 blocks,
// for sequences at the pictures' own size and colours. False, with the
// reason, for a frame without a colour picture or a file that does not decode.
bool cookMeshFramePicture(const std::string& path, std::vector<uint8_t>* cookedFile, std::string* why);

// Smooth normals: per vertex the sum of its faces' unit normals divided by
// (count + 1e-7), deliberately not renormalised.
void computeNormals(MeshFrame& frame);

// Called by the loading loop on the calling thread (the main thread) while it
// waits for frames and between uploads.
using MeshProgressFn = std::function<void()>;

// Where one sequence's frame files are: frame i is file number
// firstNumber + step * i, the path "Resources//" formatted into folderFormat
// ("%sDemoQTR//walkingnude//%05d.cor"). The sequence is sized before loading.
struct MeshSequenceFiles {
    MeshSequence* sequence;
    const char* folderFormat;
    int firstNumber, step;
};

// Decodes every frame of the sequences on worker threads (normals included),
// filling each slot by index. With `upload`, the calling thread (which owns
// the GL context) uploads each frame in order as soon as it is ready, the
// pictures compressed by the workers when the driver takes DXT1, and prints
// "i/ n" every 50 frames of a sequence; otherwise the frames keep their
// decoded meshes and pictures.
void loadMeshSequences(const std::vector<MeshSequenceFiles>& files, bool upload, const MeshProgressFn& progress);

// One sequence, decoded only.
void loadMeshSequence(MeshSequence& sequence, const char* folderFormat, int firstNumber, int step,
                      const MeshProgressFn& progress);

// The GL texture and display list of a decoded frame; main thread only. The
// decoded mesh and picture are released.
void uploadMeshFrame(MeshFrame& frame, bool uploadPicture, bool newTexture);

// Pushes the matrix and sets the fixed mesh camera; the caller pops.
void meshCamera();

// Draws a frame into the target's first two outputs on cyan with alpha 0, so
// the result composites as a cut-out.
void drawMeshFrame(bool resolveAfter, RenderTarget& target, const ShaderProgram& objectProgram,
                   const Texture& frameTexture, GLuint displayList, GLuint paperTexture);
