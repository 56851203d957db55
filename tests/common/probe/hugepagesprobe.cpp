// Starts as verbalo-cli does, restarting itself for huge pages, then prints
// what it sees: whether it was started with the tunable, the two variables
// as they are now, and its arguments. Exits with 7.
#include "common/hugepages.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char **argv)
{
    HugePages::restartWithHugePages(argv);
    // The environment the process was started with, NUL-separated.
    std::ifstream initial("/proc/self/environ", std::ios::binary);
    const std::string block{std::istreambuf_iterator<char>(initial), {}};
    // glibc rewrites the variable in place as it reads it, keeping only some
    // tunables, so only the start of it is certain.
    std::printf("restarted=%d\n", block.find("GLIBC_TUNABLES=glibc.malloc.hugetlb=1") != std::string::npos);
    for (const char *name : {"GLIBC_TUNABLES", "VERBALO_HUGE_PAGES_RESTART"}) {
        const char *value = std::getenv(name);
        std::printf("%s=%s\n", name, value ? value : "(unset)");
    }
    for (int i = 1; i < argc; ++i)
        std::printf("arg=%s\n", argv[i]);
    return 7;
}
