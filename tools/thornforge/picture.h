// A flat-shaded view of the mesh, normalised the way the show's reader does it,
// for checking the model by eye.
#pragma once
#include <string>

#include "thorn.h"

bool writeThornPicture(const ThornMesh& mesh, const std::string& path);
