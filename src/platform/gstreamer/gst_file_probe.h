#pragma once
// What a file is, read before any element touches it: whether it is a plain
// file, whether it starts like an MP3 (and with tags), and its length by its
// frames. Every read here can be slow (a share that spins up), so it runs
// where no one waits on it: inside RenderFile, or on a follower's own thread.
#include <string>

#include "seam/media.h"

namespace kestrafon::platform::gst {

enum class Mp3Start { kNotMp3, kPlain, kTagged };

struct FileProbe {
  bool opened = false;        // a regular file that could be opened for reading
  Mp3Start start = Mp3Start::kNotMp3;
  double frameSeconds = 0.0;  // the length by its MPEG audio frames; 0 when unknown
  seam::TrackFacts facts;     // its loudness and text, from its tags
};

// With `countFrames`, the frames are counted too (for any file: decodebin may
// still find MPEG audio behind tags the sniff leaves to it).
FileProbe ProbeFile(const std::string& path, bool countFrames);

}  // namespace kestrafon::platform::gst
