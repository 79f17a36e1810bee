// output_files.h - the files a tool writes: folders made when missing, and
// files that appear whole or not at all.
//
//   std::string why = prepareOutputDir("cap");        // "" when cap/ is ready
//   if (!why.empty()) { fprintf(stderr, "tool: %s\n", why.c_str()); return 2; }
//   int error = writeWholeFile("cap/a.png", bytes);   // 0, or the errno
//   if (error) fprintf(stderr, "tool: %s\n", writeFailure("cap/a.png", error).c_str());
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Makes `dir` and the folders above it when missing. "" when `dir` is a
// folder this process can write into, else one line naming the path and the
// reason, for example "cannot make cap: Not a directory (cap is a file)".
std::string prepareOutputDir(const std::string& dir);

// The folder part of a file path: "." for a bare name, "/" for a file in /.
std::string folderOf(const std::string& path);

// Writes `bytes` to a temporary name beside `path` and renames it over
// `path` once it is complete. 0, or the errno of what failed (the temporary
// file is then removed and `path` left as it was).
int writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// The temporary name writeWholeFile and other whole-file writers use.
std::string temporaryNameFor(const std::string& path);

// "the disk is full: cannot write PATH" for ENOSPC and EDQUOT, else
// "cannot write PATH: <strerror>".
std::string writeFailure(const std::string& path, int error);

// Whether the file system holding `folder` has (almost) no room left: what
// an encoder that died mid-write most likely ran into.
bool diskIsFull(const std::string& folder);
