#include "model/local_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace kestrafon::os {

FileState ProbeFile(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return FileState::Missing;
  if (!S_ISREG(st.st_mode)) return FileState::NotAFile;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return FileState::Unreadable;
  ::close(fd);
  return FileState::Readable;
}

std::string AbsolutePath(const std::string& path, const std::string& folder) {
  const std::string joined = !path.empty() && path.front() == '/' ? path : folder + "/" + path;
  // Lexically, as the shell would name it: a symbolic link is not followed.
  std::vector<std::string> steps;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    const std::string step = joined.substr(start, end - start);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::string absolute;
  for (const std::string& step : steps) absolute += "/" + step;
  return absolute.empty() ? "/" : absolute;
}

std::string CurrentFolder() {
  std::vector<char> buffer(PATH_MAX);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string SettingsFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/kestrafon/";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/kestrafon/";
  return {};
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes) {
  // Non-blocking: a named pipe in its place must not hold the start.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::size_t(st.st_size) <= maxBytes) {
    std::string read(std::size_t(st.st_size), '\0');
    std::size_t done = 0;
    while (done < read.size()) {
      const ssize_t got = ::read(fd, read.data() + done, read.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += std::size_t(got);
    }
    read.resize(done);
    bytes = std::move(read);
  }
  ::close(fd);
  return bytes;
}

}  // namespace kestrafon::os
