// torvanel-forge: writes every picture the show reads.
//   torvanel-forge [--clipart DIR] [--out RESOURCES]      make the files
//   torvanel-forge [--out RESOURCES] --sheet FILE.png      lay them out on one sheet
#include "forge.h"
#include "sheet.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string clipart = "/usr/share/openclipart/svg", out = "Resources", sheet;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (hasValue && std::strcmp(argv[i], "--clipart") == 0) clipart = argv[++i];
        else if (hasValue && std::strcmp(argv[i], "--out") == 0) out = argv[++i];
        else if (hasValue && std::strcmp(argv[i], "--sheet") == 0) sheet = argv[++i];
        else {
            std::fprintf(stderr, "usage: torvanel-forge [--clipart DIR] [--out RESOURCES] [--sheet FILE.png]\n");
            return 2;
        }
    }
    cv::setNumThreads(1);  // the build machine's cores are shared
    if (!sheet.empty()) {
        if (!cv::imwrite(sheet, contactSheet(out))) {
            std::fprintf(stderr, "forge: cannot write %s\n", sheet.c_str());
            return 1;
        }
        return 0;
    }
    int failed = forgeAll(clipart, out);
    if (failed) std::fprintf(stderr, "forge: %d files not written\n", failed);
    return failed ? 1 : 0;
}
