// Loading a large project allocates hundreds of megabytes in small blocks.
// With 4 KiB pages the kernel faults each page in on first touch, a fifth of
// the load's time; with 2 MiB pages that cost nearly vanishes.
#include "common/hugepages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gnu/libc-version.h>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
// Only the main arena's heap is advised: glibc grows the heaps of other
// threads' arenas in 4 KiB pages, and a load's reader threads fault in their
// text there. One arena keeps every thread on huge pages; the readers
// allocate once for sixty entries or so, so they rarely wait for its lock.
constexpr char kHugePages[] = "glibc.malloc.hugetlb=1:glibc.malloc.arena_max=1";
// Marks the restarted process, which must not restart again.
constexpr char kRestarted[] = "VERBALO_HUGE_PAGES_RESTART";

bool glibcCanAsk()
{
    // The tunable came with glibc 2.35.
    int major = 0;
    int minor = 0;
    return std::sscanf(gnu_get_libc_version(), "%d.%d", &major, &minor) == 2 &&
           (major > 2 || (major == 2 && minor >= 35));
}

bool kernelGivesOnRequest()
{
    // "always" gives huge pages to every large mapping anyway; "never" to none.
    std::FILE *mode = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "re");
    if (!mode)
        return false;
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, mode) != nullptr;
    std::fclose(mode);
    return read && std::strstr(line, "[madvise]") != nullptr;
}

} // namespace

void HugePages::restartWithHugePages(char **argv)
{
    if (std::getenv(kRestarted)) {
        unsetenv(kRestarted);
        unsetenv(kTunables);
        return;
    }
    if (std::getenv(kTunables) || !argv || !argv[0] || !glibcCanAsk() || !kernelGivesOnRequest())
        return;
    setenv(kTunables, kHugePages, 1);
    setenv(kRestarted, "1", 1);
    execv("/proc/self/exe", argv);
    unsetenv(kRestarted);
    unsetenv(kTunables);
}

void HugePages::tuneAllocator()
{
    if (std::getenv(kTunables))
        return;
    // Every block comes from the heap, however large: a load's big buffers
    // (the file's bytes, its decoded text, its list of entries) are freed
    // before the rows are built, and the rows then reuse their pages. Mapped
    // apart, each was unmapped and the rows faulted in fresh pages instead,
    // which doubled the pages a large load touched and, where the host backs
    // a virtual machine's freed memory lazily, made a large load slower per
    // byte than a small one. The heap still shrinks when its top is free.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 16 * 1024 * 1024);
}

void HugePages::releaseFreeMemory()
{
    malloc_trim(0);
}
