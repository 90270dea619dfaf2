// Giving memory back after a dialog: clean file pages leave the process and
// come back intact on the next read; pages a mapping changed are kept.
#include "platform/qt/released_memory.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "fixtures/mp3_fixtures.h"

namespace {

using kestrafon::fixtures::TempDir;
using kestrafon::platform::qt::ReleaseUnusedMemory;

// Resident kilobytes of the mapping that starts at `at`, from /proc/self/smaps.
long ResidentKb(const void* at) {
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    unsigned long start = 0;
    if (std::sscanf(line.c_str(), "%lx-", &start) == 1 && line.find(' ') < line.find(':')) {
      inside = start == reinterpret_cast<std::uintptr_t>(at);
    } else if (inside && line.rfind("Rss:", 0) == 0) {
      return std::stol(line.substr(4));
    }
  }
  return -1;
}

TEST(ReleaseUnusedMemory, DropsCleanFilePagesAndKeepsChangedOnes) {
  TempDir dir;
  const std::string path = dir.File("data.bin");
  const std::size_t size = 64 * 4096;
  std::vector<char> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);

  // Read-only, like program code or a font; and a private copy changed in
  // one page then made read-only, like relocated data.
  auto* clean = static_cast<char*>(mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fileno(file), 0));
  auto* changed = static_cast<char*>(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fileno(file), 0));
  std::fclose(file);
  ASSERT_NE(clean, MAP_FAILED);
  ASSERT_NE(changed, MAP_FAILED);
  volatile char sum = 0;
  for (std::size_t i = 0; i < size; i += 4096) sum = static_cast<char>(sum + clean[i] + changed[i]);
  changed[5 * 4096 + 3] = 'X';
  ASSERT_EQ(mprotect(changed, size, PROT_READ), 0);
  ASSERT_EQ(ResidentKb(clean), static_cast<long>(size / 1024));

  ReleaseUnusedMemory();
  EXPECT_EQ(ResidentKb(clean), 0) << "clean pages left the process";
  EXPECT_EQ(ResidentKb(changed), static_cast<long>(size / 1024)) << "a changed mapping is left alone";
  EXPECT_EQ(std::memcmp(clean, bytes.data(), size), 0) << "the file reads back the same";
  EXPECT_EQ(changed[5 * 4096 + 3], 'X');
  EXPECT_EQ(std::memcmp(changed, bytes.data(), 5 * 4096), 0);
  munmap(clean, size);
  munmap(changed, size);
}

}  // namespace
