#include "platform/huge_pages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

static const char* const HUGE_PAGE_TUNABLE = "glibc.malloc.hugetlb";

std::string tunablesWithHugePages(const char* current) {
    std::string setting = std::string(HUGE_PAGE_TUNABLE) + "=1";
    if (!current || !*current) return setting;
    if (strstr(current, HUGE_PAGE_TUNABLE)) return "";
    return std::string(current) + ":" + setting;
}

static bool kernelGivesHugePagesOnRequest() {
    std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    return std::getline(mode, line) && line.find("[madvise]") != std::string::npos;
}

void restartWithHugePages(char** argv) {
    std::string tunables = tunablesWithHugePages(getenv("GLIBC_TUNABLES"));
    if (tunables.empty() || !kernelGivesHugePagesOnRequest()) return;
    setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    execv("/proc/self/exe", argv);
}
