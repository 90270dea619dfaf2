#include "model/cls_player.h"
#include "model/playlist_file.h"

namespace kestrafon {

bool AppendPlaylistFile(clsPlayer& player, const std::string& path) {
  std::vector<std::string> entries;
  if (!ReadPlaylistFile(path, entries)) return false;
  for (const auto& entry : entries) player.AryMp3File(entry);
  return true;
}

SaveResult SavePlaylistFile(const clsPlayer& player, const std::string& path, const SaveOps& ops) {
  const std::int32_t count = player.mscFileCount();  // read once
  std::vector<std::string> entries;
  entries.reserve(std::size_t(count));
  for (std::int32_t i = 1; i <= count; ++i) entries.push_back(player.GetMp3Name(i));
  return WritePlaylistFile(path, entries, ops);
}

}  // namespace kestrafon
