// Shared by the PLY tests: where the vector files are and how to load one.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string plyTestData()
{
    const char* dir = std::getenv("PLY_TESTDATA");
    return dir && *dir ? dir : PLY_TESTDATA_DEFAULT;
}

inline std::vector<char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
