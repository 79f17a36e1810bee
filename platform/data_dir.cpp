#include "platform/data_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

static std::string dataRoot;

static bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

static bool isFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string executableDir() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    std::string exe(path, size_t(length));
    size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash == 0 ? 1 : slash);
}

std::string missingData(const std::string& dir) {
    std::string resources = dir + "/Resources";
    if (!isFolder(resources)) return "no Resources/ folder";
    // A shader as plain source or as its scrambled copy only (a package).
    if (!isFile(resources + "/shaders/f_final_clips.cpp") && !isFile(resources + "/shaders/f_final_clips.xxx"))
        return "no shaders in Resources/shaders/";
    if (!isFile(resources + "/music/Velmora.mp3")) return "no soundtrack Resources/music/Velmora.mp3";
    return std::string();
}

DataSearch findDataDir() {
    DataSearch search;
    std::vector<std::string> candidates;
    if (const char* chosen = getenv("TORVANEL_DATA"); chosen && *chosen) {
        candidates.push_back(chosen);
    } else {
        char here[PATH_MAX];
        candidates.push_back(getcwd(here, sizeof here) ? here : ".");
        std::string exe = executableDir();
        if (!exe.empty()) candidates.push_back(exe + "/../share/torvanel");
    }
    for (const std::string& dir : candidates) {
        search.lookedIn.push_back(dir);
        search.missing = missingData(dir);
        if (search.missing.empty()) {
            char resolved[PATH_MAX];
            search.dir = realpath(dir.c_str(), resolved) ? resolved : dir;
            return search;
        }
    }
    return search;
}

std::string missingDataLine(const std::string& program, const DataSearch& search) {
    std::string line = program + ": cannot find the show's data (" + search.missing + ") in ";
    for (size_t i = 0; i < search.lookedIn.size(); i++)
        line += (i == 0 ? "" : i + 1 == search.lookedIn.size() ? " or " : ", ") + search.lookedIn[i];
    return line + ": run it from the folder that holds Resources/ (a build's source folder), install it, "
                  "or name that folder in TORVANEL_DATA";
}

void setDataRoot(const std::string& dir) { dataRoot = dir == "." ? std::string() : dir; }

std::string dataFile(const std::string& path) {
    if (dataRoot.empty() || path.empty() || path[0] == '/') return path;
    return dataRoot + "/" + path;
}
