// Start-up switch that lets glibc back the heap with transparent huge pages.
#pragma once

namespace HugePages {

// Call first thing in main(), with main's argv. Where the kernel gives huge
// pages only to memory that asks for them and glibc can ask (its
// "glibc.malloc.hugetlb" tunable), restarts the program once, through
// /proc/self/exe with the same arguments, with that tunable set and every
// thread allocating from the one arena it applies to: glibc reads tunables
// only when a process starts. In the restarted process it removes
// the setting again, so programs it starts see the environment it was given.
// Does nothing when GLIBC_TUNABLES is already set (an empty value switches
// this off), and goes on as it is when the restart fails.
void restartWithHugePages(char **argv);

// Call right after restartWithHugePages(). Projects are read a file at a
// time, each into buffers that glibc by default maps and unmaps afresh, so
// that every page of them is faulted in again for what comes next: serves
// every block from the heap instead, so freed memory is reused, and keeps up
// to 16 MiB of free memory at the heap's top. Does nothing when
// GLIBC_TUNABLES is set, which leaves the allocator to the user.
void tuneAllocator();

// Gives the pages of freed memory inside the heap back to the system. The
// heap keeps a large load's freed buffers for reuse; a program that goes on
// running after the load (the desktop app) calls this so as not to go on
// holding them.
void releaseFreeMemory();

} // namespace HugePages
