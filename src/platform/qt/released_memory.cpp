#include "platform/qt/released_memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrafon::platform::qt {
namespace {

struct Mapping {
  std::uintptr_t start = 0;
  std::uintptr_t end = 0;
  bool cleanFile = false;  // a private, read-only mapping of a file
  long anonymousKb = 0;    // pages copied on write: these must stay
};

void DropIfClean(const Mapping& m) {
  if (m.cleanFile && m.anonymousKb == 0 && m.end > m.start) {
    madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED);
  }
}

}  // namespace

void ReleaseUnusedMemory() {
  malloc_trim(0);
  std::FILE* smaps = std::fopen("/proc/self/smaps", "re");
  if (!smaps) return;
  char line[4096];
  Mapping current;
  while (std::fgets(line, sizeof line, smaps)) {
    unsigned long start = 0, end = 0, inode = 0;
    char perms[5] = {};
    int pathAt = 0;
    if (std::sscanf(line, "%lx-%lx %4s %*x %*s %lu %n", &start, &end, perms, &inode, &pathAt) == 4) {
      DropIfClean(current);
      current = Mapping{start, end, false, 0};
      current.cleanFile = perms[0] == 'r' && perms[1] == '-' && perms[3] == 'p' && inode != 0 && line[pathAt] == '/';
    } else if (std::strncmp(line, "Anonymous:", 10) == 0) {
      current.anonymousKb = std::strtol(line + 10, nullptr, 10);
    }
  }
  DropIfClean(current);
  std::fclose(smaps);
}

}  // namespace kestrafon::platform::qt
