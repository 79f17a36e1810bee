// file_bytes.h - a whole file read into memory, checked first: a regular
// file (not a folder or a device) of at most `maxBytes`.
//
//   std::vector<uint8_t> bytes;
//   std::string why;
//   if (!readWholeFile(path, 64 << 20, &bytes, &why)) printf("load - %s - %s\n", path, why.c_str());
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// False, with what went wrong in `error`, when the file is missing, not a
// regular file, larger than maxBytes or cannot be read.
bool readWholeFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* error);
