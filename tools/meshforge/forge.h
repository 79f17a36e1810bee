// forge.h - the frame files of the two captured figures, as the show reads
// them from Resources/DemoQTR/.
//
//   ForgeFigure walker = makeForgeFigure(CAPTURE_WALKING);     // mesh and canvas, once
//   ToolMesh mesh = frameMesh(walker, 4520);                   // millimetres, uv per vertex
//   std::vector<uint8_t> bytes;
//   if (frameFile(walker, 4520, &bytes, &error)) ...           // the whole .cor file
//   forgeFrames(out, 1);                                       // every file; every 37th for 37
//
// A file's 22 records: the file number, the capture rate and the triangle
// count, then the 21 joints in millimetres (x, y, z) in `Joint` order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "figure.h"
#include "mesh_io.h"
#include "motion.h"
#include "paint.h"

struct ForgeFigure {
    Capture capture;
    Body body;
    FigureMesh mesh;
    cv::Mat canvas;
};

ForgeFigure makeForgeFigure(Capture capture);

struct ForgeFile {
    Capture capture;
    int number;
};

// The 234 files in the order the show loads its six sequences.
std::vector<ForgeFile> forgeFileList();
// "DemoQTR/walkingnude/04800.cor" and the like, below the output folder.
std::string forgeFilePath(const ForgeFile& file);

ToolMesh frameMesh(const ForgeFigure& figure, int number);
bool frameFile(const ForgeFigure& figure, int number, std::vector<uint8_t>* bytes, std::string* error);

// Writes every `every`-th file of the list below `out`, frames in parallel.
// Prints a line per failure (one for a folder it cannot make); false when
// any file could not be written.
bool forgeFrames(const std::string& out, int every);
