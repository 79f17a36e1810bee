// data_dir.h - where the show's data is: the folder holding "Resources/".
//
// Every data file is named "Resources//..." relative to a data folder. In a
// source checkout that is the working folder; an installed program finds its
// own from where the executable lies: <bin>/../share/torvanel. The show
// changes to its data folder; the tools set it as the data root, so that
// their output paths keep meaning the caller's folder.
//
//   DataSearch found = findDataDir();
//   if (found.dir.empty()) { fprintf(stderr, "%s\n", missingDataLine("torvanel-trace", found).c_str()); ... }
//   setDataRoot(found.dir);
//   readWholeFile(dataFile("Resources//torvanel//paper.png"), ...);
#pragma once
#include <string>
#include <vector>

struct DataSearch {
    std::string dir;                    // empty when no candidate holds the data
    std::vector<std::string> lookedIn;  // every folder tried, in order
    std::string missing;                // what the last candidate lacked
};

// The folder of the running executable (from /proc/self/exe, symbolic links
// resolved), or "" when it cannot be read.
std::string executableDir();

// "" when `dir` holds the show's data (Resources/ with the final shader and
// the soundtrack), else what it lacks, for example "no Resources/ folder".
std::string missingData(const std::string& dir);

// The working folder when it holds the data, else <executable>/../share/torvanel.
// TORVANEL_DATA names a folder to use instead of both.
DataSearch findDataDir();

// One line for a program that cannot find its data: the folders looked in,
// what was missing and how to run it.
std::string missingDataLine(const std::string& program, const DataSearch& search);

// Relative data paths are read below `dir` from now on ("" or "." keeps the
// working folder). Set once at start, before anything loads.
void setDataRoot(const std::string& dir);

// `path` below the data root; absolute paths and paths with no root set are
// returned as they are.
std::string dataFile(const std::string& path);
