// torvanel-meshforge: writes the captured figures' frame files into
// <out>/DemoQTR/walkingnude/ and <out>/DemoQTR/nude2/.
//
//   torvanel-meshforge --out Resources            all 234 files
//   torvanel-meshforge --out /tmp/x --every 40    every 40th file of the list
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "forge.h"

int main(int argc, char** argv) {
    std::string out = "Resources";
    int every = 1;
    for (int i = 1; i < argc; i++) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
            out = argv[++i];
        } else if (!std::strcmp(argv[i], "--every") && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            every = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: torvanel-meshforge [--out DIR] [--every N]\n");
            return 2;
        }
    }
    auto start = std::chrono::steady_clock::now();
    bool ok = forgeFrames(out, every);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("meshforge: %s frame files -> %s/DemoQTR/ in %.1f s\n", ok ? "wrote the" : "failed on some", out.c_str(),
                seconds);
    return ok ? 0 : 1;
}
