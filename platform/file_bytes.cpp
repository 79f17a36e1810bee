#include "platform/file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/data_dir.h"

bool readWholeFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    FILE* file = fopen(dataFile(path).c_str(), "rb");
    if (!file) {
        *error = std::string("cannot open the file: ") + strerror(errno);
        return false;
    }
    // The size comes from the open file itself, so a swap between the check
    // and the read cannot slip a folder or a larger file in.
    struct stat info;
    bool ok = false;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = "not a regular file";
    } else if (static_cast<uint64_t>(info.st_size) > maxBytes) {
        *error = "file of " + std::to_string(info.st_size) + " bytes is larger than the " + std::to_string(maxBytes) +
                 " allowed";
    } else {
        bytes->resize(static_cast<size_t>(info.st_size));
        ok = bytes->empty() || fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
        if (!ok) {
            *error = "cannot read the file";
            bytes->clear();
        }
    }
    fclose(file);
    return ok;
}
