// Stand-in for the playlist file format until the real reader and writer
// land: one path per CR LF line, nothing more.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "model/cls_player.h"
#include "playlist/playlist_file.h"

namespace kestrafon {

bool WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& entry : entries) out << entry << "\r\n";
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool AppendPlaylistFile(clsPlayer& player, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    items.push_back(std::move(line));
    start = end + 1;
  }
  for (const std::string& item : items) player.AryMp3File(item);
  return true;
}

}  // namespace kestrafon
