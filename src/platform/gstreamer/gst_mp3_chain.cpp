// The fixed chain for MP3 files. decodebin finds a file's type by trying
// the type finders of every installed plugin, which maps many of them into
// the process; an MP3 needs only its parser and decoder (the same two that
// decodebin would pick), so files that start like one skip the search.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "platform/gstreamer/mp3_frame_scan.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

enum class Mp3Start { kNotMp3, kPlain, kTagged };

// What the first and last bytes of the open file say. Only a regular file
// is read; an APE tag leaves the file to decodebin, which strips it.
Mp3Start SniffMp3(int fd) {
  Mp3Start result = Mp3Start::kNotMp3;
  struct stat info {};
  std::array<std::uint8_t, mp3::kMp3ProbeBytes> head{};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const ssize_t tagRead = pread(fd, head.data(), 10, 0);
    const std::size_t tag = tagRead == 10 ? mp3::Id3v2TagSize(std::span(head.data(), 10)) : 0;
    const ssize_t got = pread(fd, head.data(), head.size(), static_cast<off_t>(tag));
    std::array<char, 160> tail{};
    const off_t tailSize = static_cast<off_t>(tail.size());
    const off_t tailAt = info.st_size > tailSize ? info.st_size - tailSize : 0;
    const ssize_t tailRead = pread(fd, tail.data(), tail.size(), tailAt);
    const bool ape = tailRead >= 32 && (std::memcmp(tail.data() + tailRead - 32, "APETAGEX", 8) == 0 ||
                                        (tailRead >= 160 && std::memcmp(tail.data(), "APETAGEX", 8) == 0));
    const bool id3v1 = tailRead >= 128 && std::memcmp(tail.data() + tailRead - 128, "TAG", 3) == 0;
    if (got > 0 && !ape &&
        mp3::StartsWithMp3Frames(std::span(head.data(), static_cast<std::size_t>(got)))) {
      result = tag > 0 || id3v1 ? Mp3Start::kTagged : Mp3Start::kPlain;
    }
  }
  return result;
}

}  // namespace

bool GstMediaGraph::Preroll(const std::string& path, int fd) {
  const Mp3Start start = SniffMp3(fd);
  if (start != Mp3Start::kNotMp3) {
    if (BuildMp3Chain(path, start == Mp3Start::kTagged) && WaitForPreroll()) return true;
    TearDown();
  }
  if (BuildDecodingChain(path) && WaitForPreroll()) return true;
  TearDown();
  return false;
}

bool GstMediaGraph::BuildMp3Chain(const std::string& path, bool tagged) {
  if (!BuildOutput()) return false;
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* parser = gst_element_factory_make("mpegaudioparse", nullptr);
  GstElement* decoder = gst_element_factory_make("mpg123audiodec", nullptr);
  if (!AddAll({source, parser, decoder})) return false;
  g_object_set(source, "location", path.c_str(), nullptr);
  mpegAudioFile_ = true;
  audioLinked_ = true;
  if (!gst_element_link(parser, decoder) || !gst_element_link(decoder, convert_)) return false;
  if (!tagged) return gst_element_link(source, parser);

  // Tags at either end come off as decodebin would take them off.
  GstElement* demuxer = gst_element_factory_make("id3demux", nullptr);
  if (!AddAll({demuxer})) return false;
  return gst_element_link(source, demuxer) && gst_element_link(demuxer, parser);
}

std::vector<std::string> GstMediaGraph::ElementFactories() const {
  std::vector<std::string> names;
  if (!pipeline_) return names;
  GstIterator* it = gst_bin_iterate_elements(GST_BIN(pipeline_));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
    if (GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)))) {
      names.emplace_back(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)));
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return names;
}

}  // namespace kestrafon::platform::gst
