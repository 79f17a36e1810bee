// file_watch.h - the files of one folder that were written since the last
// look: saved in place or moved in (editors save by writing a new file and
// renaming it over the old one).
//
//   FileWatch watch = watchFolder("Resources/shaders");
//   for (const std::string& name : changedFiles(watch)) ...   // once a frame
//
// Never blocks. A folder that cannot be watched gives a watch that reports
// nothing (one line on standard error says why).
#pragma once
#include <string>
#include <vector>

struct FileWatch {
    int fd = -1;
    std::string folder;
};

FileWatch watchFolder(const std::string& folder);
// Names (without the folder) of files closed after writing or moved into
// the folder since the last call, each once, in the order first seen.
std::vector<std::string> changedFiles(FileWatch& watch);
void closeFileWatch(FileWatch& watch);
