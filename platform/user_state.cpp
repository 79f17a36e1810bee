#include "platform/user_state.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/torvanel";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.local/state/torvanel";
    return std::string();
}

bool readTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeTextFileAtomically(const std::string& path, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::string temporary = path + ".new";
    FILE* f = fopen(temporary.c_str(), "wb");
    if (!f) return false;
    bool written = fwrite(text.data(), 1, text.size(), f) == text.size();
    int error = errno;
    if (fclose(f) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        if (written) error = errno;
        remove(temporary.c_str());
        errno = error;
        return false;
    }
    return true;
}
