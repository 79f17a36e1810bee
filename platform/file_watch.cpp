#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

FileWatch watchFolder(const std::string& folder) {
    FileWatch watch;
    watch.folder = folder;
    watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.fd < 0 || inotify_add_watch(watch.fd, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        fprintf(stderr, "watchFolder - cannot watch %s: %s\n", folder.c_str(), strerror(errno));
        closeFileWatch(watch);
    }
    return watch;
}

std::vector<std::string> changedFiles(FileWatch& watch) {
    std::vector<std::string> names;
    if (watch.fd < 0) return names;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        ssize_t length = read(watch.fd, buffer, sizeof buffer);
        if (length <= 0) break;  // EAGAIN: nothing more for now
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            const inotify_event* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {
                std::string name(event->name, strnlen(event->name, event->len));
                if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
            }
            at += sizeof(inotify_event) + event->len;
        }
    }
    return names;
}

void closeFileWatch(FileWatch& watch) {
    if (watch.fd >= 0) close(watch.fd);
    watch.fd = -1;
}
