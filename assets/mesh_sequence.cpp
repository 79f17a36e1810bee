#include "assets/mesh_sequence.h"

#include <GL/glu.h>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "assets/draw_trace.h"
#include "crt_decoder.h"
#include "platform/console.h"
#include "platform/file_bytes.h"
#include "platform/ordered_jobs.h"
#include "render/cooked_file.h"
#include "render/dxt1.h"
#include "render/picture.h"
#include "render/render_target.h"
#include "render/shader_program.h"

static const char* const DATA_DIR = "Resources//";

// Ceilings far beyond any figure, checked before anything is allocated: a
// frame addresses at most 65536 vertices, a frame file is a few hundred KB.
static const uint32_t MESH_MAX_VERTICES = 1u << 20;
static const uint32_t MESH_MAX_FACES = 1u << 20;
static const size_t MESH_MAX_FILE_BYTES = 64u << 20;
// Decoded pictures wait for the sequence's upload: together they stay below this.
static const size_t MESH_PICTURES_BUDGET = 768u << 20;

// Bounds-checked little-endian reads over the frame file.
struct ByteReader {
    const uint8_t* data;
    size_t size;
    size_t at;

    bool has(size_t n) const { return n <= size - at; }
    bool readU32(uint32_t* out) {
        if (!has(4)) return false;
        *out = uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
               uint32_t(data[at + 3]) << 24;
        at += 4;
        return true;
    }
};

static MeshFrame failedFrame(const std::string& path, const char* what) {
    printf("loadMeshFrame - %s - %s\n", path.c_str(), what);
    return MeshFrame();
}

// The decoder's vertices into the frame: metres, 16-bit indices, uvs.
static bool decodeMesh(const uint8_t* data, size_t size, MeshFrame& frame, const std::string& path) {
    // The decoder also refuses counts its stream's bytes cannot encode.
    crt::DecoderLimits limits;
    limits.maxVertices = MESH_MAX_VERTICES;
    limits.maxFaces = MESH_MAX_FACES;
    crt::Decoder decoder(data, size, limits);
    if (!decoder.ok()) {
        printf("loadMeshFrame - %s - %s\n", path.c_str(), decoder.error().c_str());
        return false;
    }
    uint32_t nvert = decoder.nvert(), nface = decoder.nface();
    std::vector<float> positions(size_t(nvert) * 3);
    std::vector<uint32_t> index(size_t(nface) * 3);
    std::vector<uint8_t> colours;  // decoded, not kept
    std::vector<float> uvs;
    decoder.setPositions(positions.data());
    decoder.setIndex(index.data());
    if (decoder.hasAttribute("color")) {
        colours.resize(size_t(nvert) * 3);
        decoder.setColors(colours.data(), 3);
    }
    if (decoder.hasAttribute("uv")) {
        uvs.resize(size_t(nvert) * 2);
        decoder.setUvs(uvs.data());
    }
    if (!decoder.decode()) {
        printf("loadMeshFrame - %s - %s\n", path.c_str(), decoder.error().c_str());
        return false;
    }

    frame.positions.resize(positions.size());
    for (size_t k = 0; k < positions.size(); ++k) frame.positions[k] = positions[k] * 0.001f;

    // Files rely on the truncation to 16 bits; a truncated index that no
    // longer names a vertex drops its triangle.
    size_t dropped = 0;
    frame.indices.reserve(index.size());
    for (size_t t = 0; t + 2 < index.size(); t += 3) {
        uint16_t a = uint16_t(index[t]), b = uint16_t(index[t + 1]), c = uint16_t(index[t + 2]);
        if (a >= nvert || b >= nvert || c >= nvert) {
            ++dropped;
            continue;
        }
        frame.indices.insert(frame.indices.end(), {a, b, c});
    }
    if (dropped) printf("loadMeshFrame - %s - %zu triangles past 65536 vertices dropped\n", path.c_str(), dropped);

    if (uvs.empty()) uvs.assign(size_t(nvert) * 2, 0.0f);  // drawing needs a pair per vertex
    frame.uvs = std::move(uvs);
    return true;
}

static MeshFrame parseFrame(const MeshSequence& sequence, const uint8_t* data, size_t size, bool readPicture,
                            const std::string& path) {
    MeshFrame frame;
    ByteReader in = {data, size, 0};
    uint32_t meshLength = 0;
    if (!in.readU32(&meshLength) || !in.has(meshLength)) return failedFrame(path, "mesh length past the end of the file");
    if (!decodeMesh(data + in.at, meshLength, frame, path)) return MeshFrame();
    in.at += meshLength;
    if (!in.has(sizeof(frame.extra))) return failedFrame(path, "file ends inside the frame records");
    memcpy(frame.extra, data + in.at, sizeof(frame.extra));  // little-endian on every target we build for
    in.at += sizeof(frame.extra);
    if (!readPicture) return frame;
    uint32_t pictureLength = 0;
    if (!in.readU32(&pictureLength) || !in.has(pictureLength))
        return failedFrame(path, "picture length past the end of the file");
    if (pictureLength == 0) return frame;
    std::string why;
    cv::Mat picture = decodePicture(data + in.at, pictureLength, cv::IMREAD_UNCHANGED, 0, &why);
    if (picture.empty()) return failedFrame(path, why.c_str());
    // The upload takes 8-bit B, G, R: bring other depths and channel counts there.
    if (picture.depth() != CV_8U) picture.convertTo(picture, CV_8U, picture.depth() == CV_16U ? 1.0 / 257.0 : 1.0);
    if (picture.channels() == 1) cv::cvtColor(picture, picture, cv::COLOR_GRAY2BGR);
    if (picture.channels() == 4) cv::cvtColor(picture, picture, cv::COLOR_BGRA2BGR);
    if (sequence.pictureScale < 0.999f)
        cv::resize(picture, picture, cv::Size(), sequence.pictureScale, sequence.pictureScale, cv::INTER_LINEAR);
    if (sequence.grayscale) cv::cvtColor(picture, picture, cv::COLOR_BGR2GRAY);
    frame.picture = picture;
    return frame;
}

MeshFrame parseMeshFrame(const MeshSequence& sequence, const uint8_t* data, size_t size, bool readPicture,
                         const std::string& path) {
    // Nothing may escape into the parallel loading loop: a failure is one
    // line and an empty frame, which keeps its slot and draws nothing.
    try {
        return parseFrame(sequence, data, size, readPicture, path);
    } catch (const std::exception& e) {
        return failedFrame(path, e.what());
    }
}

MeshFrame loadMeshFrame(const MeshSequence& sequence, const std::string& path, bool readPicture) {
    consolePrint(ConsoleLevel::Detail, "Loading.. %s\n", path.c_str());
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, MESH_MAX_FILE_BYTES, &bytes, &why)) return failedFrame(path, why.c_str());
    return parseMeshFrame(sequence, bytes.data(), bytes.size(), readPicture, path);
}

void computeNormals(MeshFrame& frame) {
    size_t nvert = frame.positions.size() / 3;
    std::vector<float> sum(nvert * 3, 0.0f);
    std::vector<int> count(nvert, 0);
    const float* p = frame.positions.data();
    for (size_t t = 0; t + 2 < frame.indices.size(); t += 3) {
        size_t i[3] = {frame.indices[t], frame.indices[t + 1], frame.indices[t + 2]};
        float e1[3], e2[3];
        for (int a = 0; a < 3; ++a) {
            e1[a] = p[i[1] * 3 + a] - p[i[0] * 3 + a];
            e2[a] = p[i[2] * 3 + a] - p[i[0] * 3 + a];
        }
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 1.1920929e-7f)
            for (float& c : n) c /= length;
        for (size_t v : i) {
            for (int a = 0; a < 3; ++a) sum[v * 3 + a] += n[a];
            ++count[v];
        }
    }
    frame.normals.resize(nvert * 3);
    for (size_t v = 0; v < nvert; ++v)
        for (int a = 0; a < 3; ++a) frame.normals[v * 3 + a] = sum[v * 3 + a] / (float(count[v]) + 1e-7f);
}

void compressFramePicture(MeshFrame& frame) {
    if (frame.picture.type() != CV_8UC3) return;
    frame.compressedPicture = encodeDxt1(frame.picture);
    frame.compressedWidth = frame.picture.cols;
    frame.compressedHeight = frame.picture.rows;
    frame.picture.release();
}

bool cookMeshFramePicture(const std::string& path, std::vector<uint8_t>* cookedFile, std::string* why) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, MESH_MAX_FILE_BYTES, &bytes, why)) return false;
    MeshFrame frame = parseMeshFrame(MeshSequence(), bytes.data(), bytes.size(), true, path);
    compressFramePicture(frame);
    if (frame.compressedPicture.empty()) {
        *why = "no colour picture";
        return false;
    }
    CookedPixels cooked;
    cooked.kind = COOKED_DXT1;
    cooked.width = cooked.sourceWidth = frame.compressedWidth;
    cooked.height = cooked.sourceHeight = frame.compressedHeight;
    cooked.pixels = cv::Mat(1, int(frame.compressedPicture.size()), CV_8UC1, frame.compressedPicture.data());
    *cookedFile = encodeCookedFile(cooked, bytes.data(), bytes.size());
    return true;
}

// The frame's cooked DXT1 blocks, when they match the file; a stale or
// damaged cooked file is one line.
static bool readCookedFramePicture(const std::string& path, const std::vector<uint8_t>& bytes, CookedPixels* cooked) {
    std::string why;
    CookedLookup found = readCookedFile(cookedPathFor(path), bytes, COOKED_DXT1, cooked, &why);
    if (found == COOKED_STALE || found == COOKED_DAMAGED)
        printf("loadMeshFrame - %s - %s, decoding %s\n", cookedPathFor(path).c_str(), why.c_str(), path.c_str());
    return found == COOKED_FOUND;
}

// The bytes of a frame's decoded picture, raw or compressed, until its upload.
static size_t heldPictureBytesOf(const MeshFrame& frame) {
    return frame.picture.total() * frame.picture.elemSize() + frame.compressedPicture.size();
}

// One frame as a worker loads it: decoded, with normals, and the picture
// compressed when asked (taken cooked when the file's cooked blocks match,
// for the sequences drawn at the pictures' own size and colours); nothing
// escapes.
static MeshFrame decodeFrame(const MeshSequence& sequence, const std::string& path, bool compress,
                             std::atomic<size_t>& heldPictureBytes) {
    consolePrint(ConsoleLevel::Detail, "Loading .......... %s\n", path.c_str());
    MeshFrame frame;
    try {
        consolePrint(ConsoleLevel::Detail, "Loading.. %s\n", path.c_str());
        std::vector<uint8_t> bytes;
        std::string why;
        if (!readWholeFile(path, MESH_MAX_FILE_BYTES, &bytes, &why)) return failedFrame(path, why.c_str());
        bool cookable = compress && sequence.pictureScale >= 0.999f && !sequence.grayscale;
        CookedPixels cooked;
        bool useCooked = cookable && readCookedFramePicture(path, bytes, &cooked);
        frame = parseMeshFrame(sequence, bytes.data(), bytes.size(), !useCooked, path);
        if (useCooked) {
            const uint8_t* blocks = cooked.pixels.ptr<uint8_t>();
            frame.compressedPicture.assign(blocks, blocks + cooked.pixels.total());
            frame.compressedWidth = cooked.width;
            frame.compressedHeight = cooked.height;
        } else if (compress) {
            compressFramePicture(frame);
        }
        size_t pictureBytes = heldPictureBytesOf(frame);
        if (heldPictureBytes.fetch_add(pictureBytes) + pictureBytes > MESH_PICTURES_BUDGET) {
            heldPictureBytes.fetch_sub(pictureBytes);
            frame = failedFrame(path, "the sequence's pictures would pass the memory budget");
        }
        computeNormals(frame);
    } catch (const std::exception& e) {
        frame = failedFrame(path, e.what());
    }
    return frame;
}

void loadMeshSequences(const std::vector<MeshSequenceFiles>& files, bool upload, const MeshProgressFn& progress) {
    struct Job {
        const MeshSequenceFiles* files;
        int index;
    };
    std::vector<Job> jobs;
    for (const MeshSequenceFiles& f : files)
        for (int i = 0; i < int(f.sequence->frames.size()); i++) jobs.push_back({&f, i});
    bool compress = upload && GLEW_EXT_texture_compression_s3tc;
    std::atomic<size_t> heldPictureBytes{0};
    runOrderedJobs(
        int(jobs.size()),
        [&](int j) {
            const Job& job = jobs[size_t(j)];
            char path[512];
            snprintf(path, sizeof(path), job.files->folderFormat, DATA_DIR,
                     job.files->firstNumber + job.files->step * job.index);
            MeshSequence& sequence = *job.files->sequence;
            sequence.frames[size_t(job.index)] = decodeFrame(sequence, path, compress, heldPictureBytes);
        },
        [&](int j) {
            if (!upload) return;
            const Job& job = jobs[size_t(j)];
            MeshFrame& frame = job.files->sequence->frames[size_t(job.index)];
            int count = int(job.files->sequence->frames.size());
            if (job.index % 50 == 0) consolePrint(ConsoleLevel::Detail, "%d/ %d\n", job.index, count);
            size_t held = heldPictureBytesOf(frame);
            uploadMeshFrame(frame, true, false);
            heldPictureBytes.fetch_sub(held);
        },
        [&] {
            if (progress) progress();
        });
}

void loadMeshSequence(MeshSequence& sequence, const char* folderFormat, int firstNumber, int step,
                      const MeshProgressFn& progress) {
    loadMeshSequences({{&sequence, folderFormat, firstNumber, step}}, false, progress);
}

// Releases what the upload no longer needs.
static void releaseDecoded(MeshFrame& frame) {
    frame.picture.release();
    frame.compressedPicture = std::vector<uint8_t>();
    frame.indices = std::vector<uint16_t>();
    frame.positions = std::vector<float>();
    frame.uvs = std::vector<float>();
    frame.normals = std::vector<float>();
}

void uploadMeshFrame(MeshFrame& frame, bool uploadPicture, bool newTexture) {
    // A picture larger than this GL's textures: the frame draws nothing,
    // rather than an untextured figure.
    int pictureWidth = frame.compressedPicture.empty() ? frame.picture.cols : frame.compressedWidth;
    int pictureHeight = frame.compressedPicture.empty() ? frame.picture.rows : frame.compressedHeight;
    if (uploadPicture && (pictureWidth > 0 || pictureHeight > 0)) {
        int side = maxTextureSide();
        if (pictureWidth > side || pictureHeight > side) {
            printf("uploadMeshFrame - picture of %d x %d pixels is larger than this GL's %d\n", pictureWidth,
                   pictureHeight, side);
            releaseDecoded(frame);
            return;
        }
    }
    if (uploadPicture && !frame.compressedPicture.empty()) {
        uploadCompressedTexture(frame.texture, frame.compressedPicture, frame.compressedWidth, frame.compressedHeight);
    } else if (uploadPicture && !newTexture && frame.picture.channels() == 3) {
        Texture& texture = frame.texture;
        int w = frame.picture.cols, h = frame.picture.rows;
        if (texture.width == 0 && texture.height == 0) {
            createTexture(texture, w, h);
        } else if (texture.width != w || texture.height != h) {
            glDeleteTextures(1, &texture.id);
            createTexture(texture, w, h);
        }
        cv::Mat pixels = frame.picture.isContinuous() ? frame.picture : frame.picture.clone();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // picture rows are packed, whatever the width
        uploadTexture(texture, pixels.data);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        frame.picture.release();
    } else if (uploadPicture && newTexture && frame.picture.channels() == 1) {
        Texture& texture = frame.texture;
        glGenTextures(1, &texture.id);
        glBindTexture(GL_TEXTURE_2D, texture.id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        cv::Mat pixels = frame.picture.isContinuous() ? frame.picture : frame.picture.clone();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, pixels.cols, pixels.rows, 0, GL_RED, GL_UNSIGNED_BYTE, pixels.data);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        texture.width = pixels.cols;
        texture.height = pixels.rows;
        frame.picture.release();
    }

    // The triangles go into the list from arrays in one draw: the same
    // vertices in the same order as one call per vertex, compiled far faster.
    frame.displayList = glGenLists(1);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, frame.positions.data());
    glNormalPointer(GL_FLOAT, 0, frame.normals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, frame.uvs.data());
    glNewList(frame.displayList, GL_COMPILE);
    if (!frame.indices.empty())
        glDrawElements(GL_TRIANGLES, GLsizei(frame.indices.size()), GL_UNSIGNED_SHORT, frame.indices.data());
    glEndList();
    glPopClientAttrib();
    frame.triangleCount = int(frame.indices.size() / 3);
    releaseDecoded(frame);
}

void meshCamera() {
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 4, 0, 0, 0, 0, 1, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1.7777777777777777, 0.01, 24);
    glMatrixMode(GL_MODELVIEW);
}

void drawMeshFrame(bool resolveAfter, RenderTarget& target, const ShaderProgram& objectProgram,
                   const Texture& frameTexture, GLuint displayList, GLuint paperTexture) {
    if (drawTrace)
        traceDraw("mesh", drawTrace->meshClip,
                  {{"frame", double(drawTrace->meshFrame)}, {"target", drawTrace->meshTarget.c_str()}});
    // Only the colour of output 0 is ever sampled (as a cut-out): the second
    // output and depth are neither kept nor resolved.
    target.attach(1);
    target.bind(1);
    glViewport(0, 0, target.width, target.height);
    glClearColor(0, 1, 1, 0);  // alpha 0 around the figure: composited as a cut-out
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glPushMatrix();
    glEnable(GL_CULL_FACE);
    glLineWidth(5);
    objectProgram.use();
    objectProgram.setFloat("IsStatue", 0);
    objectProgram.setFloat("Pass", 1);
    objectProgram.setFloat("Type", 1);
    objectProgram.setFloat("texture_width", float(frameTexture.width));
    objectProgram.setFloat("texture_height", float(frameTexture.height));
    objectProgram.setTexture(5, "Texture", frameTexture.id);
    objectProgram.setTexture(6, "Paper", paperTexture);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glColor3f(1, 1, 1);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTranslatef(0, -0.9f, 0);
    glRotatef(0, 0, 1, 0);
    glCallList(displayList);
    glPopMatrix();
    glDisable(GL_CULL_FACE);
    glPopMatrix();

    if (resolveAfter) target.resolveColour(1);
}
