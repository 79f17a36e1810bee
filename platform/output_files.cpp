#include "platform/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

static std::string reason(int error) { return strerror(error); }

std::string prepareOutputDir(const std::string& dir) {
    if (dir.empty()) return "no output folder given";
    // Each missing folder from the top down, so the line names the one that failed.
    for (size_t at = 1; at <= dir.size(); at++) {
        if (at < dir.size() && dir[at] != '/') continue;
        std::string part = dir.substr(0, at);
        struct stat info;
        if (stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) return "cannot use " + dir + ": " + part + " is not a folder";
            continue;
        }
        if (errno != ENOENT) return "cannot use " + dir + ": " + reason(errno);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return "cannot make the folder " + part + ": " + reason(errno);
    }
    if (access(dir.c_str(), W_OK | X_OK) != 0) return "cannot write into " + dir + ": " + reason(errno);
    return std::string();
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryNameFor(const std::string& path) {
    size_t slash = path.rfind('/');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + "." + std::to_string(getpid()) + ".part";
}

int writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporary = temporaryNameFor(path);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = 0;
    for (size_t done = 0; done < bytes.size() && !error;) {
        ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) error = written < 0 ? errno : ENOSPC;
        else done += size_t(written);
    }
    if (close(fd) != 0 && !error) error = errno;
    if (!error && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error) unlink(temporary.c_str());
    return error;
}

std::string writeFailure(const std::string& path, int error) {
    if (error == ENOSPC || error == EDQUOT) return "the disk is full: cannot write " + path;
    return "cannot write " + path + ": " + reason(error);
}

bool diskIsFull(const std::string& folder) {
    struct statvfs info;
    return statvfs(folder.c_str(), &info) == 0 && uint64_t(info.f_bavail) * info.f_frsize < (1u << 20);
}
