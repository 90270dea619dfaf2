#include "platform/winsound/mp3_acm_source.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "audio/mp3_frame_scan.h"
#include "os/win32/wide_text.h"
#include "platform/winsound/mp3_acm_decoder.h"

namespace kestrafon::platform::winsound {
namespace {

// Larger files are not read into memory.
constexpr std::uint64_t kMaxFileBytes = 2ull << 30;
// Frames fed before the one a seek lands in, so that the bit reservoir and
// the filter bank are full again when it decodes: at least this many, and
// enough to hold the reservoir (up to 511 bytes back) of the landing frame
// and of the two before it, whose overlap it adds to.
constexpr std::size_t kSeekPrerollFrames = 10;
constexpr std::size_t kSeekPrerollBytes = 3 * 512;

// Reads up to `size` bytes at `offset`; how many it read.
std::size_t ReadAt(HANDLE file, std::uint64_t offset, std::uint8_t* to, std::size_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return 0;
  std::size_t got = 0;
  DWORD read = 0;
  while (got < size && ReadFile(file, to + got, DWORD(std::min<std::size_t>(size - got, 1 << 24)), &read, nullptr) &&
         read > 0) {
    got += read;
  }
  return got;
}

// Whether the sound after the ID3v2 tags starts with MP3 frames, from the
// head of the file alone: every file is tried as MP3 first, and one that is
// not is not read whole for it.
bool StartsAsMp3(HANDLE file) {
  std::uint64_t audio = 0;
  std::uint8_t head[10];
  while (ReadAt(file, audio, head, sizeof(head)) == sizeof(head)) {
    const std::size_t tag = mp3::Id3v2TagSize(std::span<const std::uint8_t>(head));
    if (tag == 0) break;
    audio += tag;
  }
  std::vector<std::uint8_t> probe(mp3::kMp3ProbeBytes);
  probe.resize(ReadAt(file, audio, probe.data(), probe.size()));
  return mp3::StartsWithMp3Frames(probe);
}

// The whole of an ordinary disk file (no folder, pipe or device) that
// starts as MP3.
std::optional<std::vector<std::uint8_t>> ReadMp3File(const std::string& utf8Path) {
  const HANDLE file = CreateFileW(os::WidenPath(utf8Path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> bytes;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && StartsAsMp3(file)) {
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (size <= kMaxFileBytes) {
      bytes.emplace(std::size_t(size));
      // The file may shrink meanwhile: what was there is what we play.
      bytes->resize(ReadAt(file, 0, bytes->data(), bytes->size()));
    }
  }
  CloseHandle(file);
  return bytes;
}

class Mp3AcmSource final : public audio::PcmSource {
 public:
  Mp3AcmSource(std::vector<std::uint8_t> bytes, mp3::Mp3FrameIndex index, std::unique_ptr<Mp3AcmDecoder> decoder)
      : bytes_(std::move(bytes)),
        frames_(std::move(index.frames)),
        decoder_(std::move(decoder)),
        format_{index.scan.firstHeader.sampleRate, index.scan.firstHeader.channels},
        samplesPerFrame_(index.scan.samplesPerFrame),
        length_(index.scan.PlayedSamples()),
        // The encoder's delay, then the decoder's own, come before the
        // first sample of the recording.
        lead_(index.scan.hasGaplessInfo ? index.scan.encoderDelay + mp3::kMp3DecoderDelay : 0),
        skip_(lead_) {}

  audio::PcmFormat Format() const override { return format_; }
  std::int64_t Frames() const override { return length_; }
  std::size_t Read(std::int16_t* out, std::size_t frames) override;
  bool Seek(std::int64_t frame) override;

 private:
  // Decodes the next few frames into pcm_; false at the end or on a failure.
  bool DecodeMore();
  std::size_t Channels() const { return std::size_t(format_.channels); }

  std::vector<std::uint8_t> bytes_;
  std::vector<mp3::Mp3FrameSpan> frames_;
  std::unique_ptr<Mp3AcmDecoder> decoder_;
  audio::PcmFormat format_;
  std::int64_t samplesPerFrame_;
  std::int64_t length_;
  std::int64_t lead_;  // decoded sample frames before the first one played

  std::int64_t position_ = 0;  // the frame the next Read gives
  std::size_t nextFrame_ = 0;  // the MP3 frame to feed next
  std::int64_t skip_;          // decoded sample frames still to drop
  bool ended_ = false;         // the decoder has given all it will
  std::vector<std::int16_t> pcm_;
  std::size_t pcmUsed_ = 0;  // samples of pcm_ already given or dropped
  std::vector<std::uint8_t> feed_;
};

std::size_t Mp3AcmSource::Read(std::int16_t* out, std::size_t frames) {
  std::size_t written = 0;
  while (written < frames && position_ < length_) {
    const std::size_t buffered = (pcm_.size() - pcmUsed_) / Channels();
    if (buffered == 0) {
      if (!DecodeMore()) break;
      continue;
    }
    if (skip_ > 0) {
      const std::size_t drop = std::size_t(std::min<std::int64_t>(skip_, std::int64_t(buffered)));
      pcmUsed_ += drop * Channels();
      skip_ -= std::int64_t(drop);
      continue;
    }
    const std::size_t n = std::min({buffered, frames - written, std::size_t(length_ - position_)});
    std::memcpy(out + written * Channels(), pcm_.data() + pcmUsed_, n * Channels() * sizeof(std::int16_t));
    pcmUsed_ += n * Channels();
    written += n;
    position_ += std::int64_t(n);
  }
  return written;
}

bool Mp3AcmSource::DecodeMore() {
  if (ended_) return false;
  pcm_.clear();
  pcmUsed_ = 0;
  if (nextFrame_ == frames_.size()) {
    ended_ = true;
    return decoder_->Finish(pcm_) && !pcm_.empty();
  }
  // Never the Info frame: the scanner left it out, so every frame fed is audio.
  feed_.clear();
  while (nextFrame_ < frames_.size() && feed_.size() + frames_[nextFrame_].bytes <= Mp3AcmDecoder::kFeedBytes) {
    const mp3::Mp3FrameSpan& f = frames_[nextFrame_++];
    feed_.insert(feed_.end(), bytes_.begin() + std::ptrdiff_t(f.offset),
                 bytes_.begin() + std::ptrdiff_t(f.offset + f.bytes));
  }
  if (feed_.empty() || !decoder_->Decode(feed_, pcm_)) {
    ended_ = true;  // a frame too large to feed, or ACM failed
    return false;
  }
  return true;
}

bool Mp3AcmSource::Seek(std::int64_t frame) {
  if (frame < 0 || frame > length_) return false;
  const std::int64_t decoded = frame + lead_;
  const std::size_t landing =
      std::size_t(std::min<std::int64_t>(decoded / samplesPerFrame_, std::int64_t(frames_.size())));
  std::size_t start = landing;
  std::size_t preroll = 0;
  while (start > 0 && (landing - start < kSeekPrerollFrames || preroll < kSeekPrerollBytes)) {
    preroll += frames_[--start].bytes;
  }
  pcm_.clear();
  pcmUsed_ = 0;
  if (!decoder_->Restart()) {
    ended_ = true;
    return false;
  }
  // A restarted decoder gives each frame's samples where a decoder that
  // started at the first frame would: the first come out of warm-up and
  // are dropped.
  nextFrame_ = start;
  skip_ = decoded - std::int64_t(start) * samplesPerFrame_;
  position_ = frame;
  ended_ = false;
  return true;
}

}  // namespace

std::unique_ptr<audio::PcmSource> OpenMp3Source(const std::string& utf8Path) {
  auto bytes = ReadMp3File(utf8Path);  // its head was checked to be MP3
  if (!bytes) return nullptr;
  mp3::Mp3FrameIndex index = mp3::IndexMp3Frames(*bytes);
  if (index.frames.empty() || index.scan.firstHeader.layer != 3) return nullptr;
  auto decoder = Mp3AcmDecoder::Open(index.scan.firstHeader);
  if (!decoder) return nullptr;
  return std::make_unique<Mp3AcmSource>(std::move(*bytes), std::move(index), std::move(decoder));
}

}  // namespace kestrafon::platform::winsound
