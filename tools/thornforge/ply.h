// Binary little-endian PLY with per-vertex colour and triangle faces.
#pragma once
#include <string>

#include "thorn.h"

// False, with a message on standard error, when the file cannot be written.
bool writePly(const ThornMesh& mesh, const std::string& path);
