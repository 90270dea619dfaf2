#pragma once
// Playlist files (".kfl"): the list written one entry per line, and read
// back behind the entries already in the list.
#include <string>
#include <vector>

namespace kestrafon {

class clsPlayer;

// Writes the entries as a playlist file, replacing `path` atomically. False when nothing was written.
bool WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries);
// Reads a playlist file and appends its entries to the list; false (and no change) when unreadable.
bool AppendPlaylistFile(clsPlayer& player, const std::string& path);

}  // namespace kestrafon
