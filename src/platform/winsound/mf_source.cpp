#include "platform/winsound/mf_source.h"

#include <mfapi.h>
#include <mfidl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "os/win32/wide_text.h"
#include "platform/winsound/mf_pcm_stream.h"

namespace kestrafon::platform::winsound {
namespace {

using Microsoft::WRL::ComPtr;

// Media Foundation counts its users: each source keeps it started while it lives.
class MfStarted {
 public:
  MfStarted() : started_(SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE))) {}
  ~MfStarted() {
    if (started_) MFShutdown();
  }
  MfStarted(const MfStarted&) = delete;
  MfStarted& operator=(const MfStarted&) = delete;
  bool started() const { return started_; }

 private:
  bool started_;
};

class MediaFoundationSource final : public audio::PcmSource {
 public:
  bool Open(const std::wstring& path);

  audio::PcmFormat Format() const override { return stream_.format; }
  std::int64_t Frames() const override { return stream_.frames; }
  std::size_t Read(std::int16_t* out, std::size_t frames) override;
  bool Seek(std::int64_t frame) override;

 private:
  // Replaces the buffer with the next one the decoder gives, and says where
  // it starts (frames from the first); false at the end or on a failure.
  bool Decode(std::int64_t& start);
  std::size_t Remaining() const { return std::size_t(std::max<std::int64_t>(0, Frames() - position_)); }
  std::size_t BufferedFrames() const { return (buffer_.size() - used_) / Channels(); }
  std::size_t Channels() const { return std::size_t(stream_.format.channels); }

  MfStarted mf_;  // first, so that it ends after the reader
  MfPcmStream stream_;
  std::vector<std::int16_t> buffer_;  // the last decoded buffer
  std::size_t used_ = 0;              // samples of it already read
  std::int64_t position_ = 0;         // frame the next Read starts at
  std::int64_t origin_ = 0;           // time of the first decoded buffer
  std::int64_t bufferTime_ = 0;       // time of the last one
  bool ended_ = false;
};

bool MediaFoundationSource::Open(const std::wstring& path) {
  if (!mf_.started()) return false;
  std::optional<MfPcmStream> stream = OpenMfPcmStream(path);
  if (!stream) return false;
  stream_ = std::move(*stream);
  // Decoding the first buffer proves there is a decoder that works, and
  // gives the time the others count from.
  std::int64_t start = 0;
  if (!Decode(start)) return false;
  origin_ = bufferTime_;
  return true;
}

bool MediaFoundationSource::Decode(std::int64_t& start) {
  buffer_.clear();
  used_ = 0;
  while (!ended_) {
    DWORD flags = 0;
    LONGLONG time = 0;
    ComPtr<IMFSample> sample;
    if (FAILED(stream_.reader->ReadSample(stream_.index, 0, nullptr, &flags, &time, sample.GetAddressOf())) ||
        (flags & (MF_SOURCE_READERF_ERROR | MF_SOURCE_READERF_ENDOFSTREAM))) {
      ended_ = true;
      break;
    }
    // A format that changes under us would be played wrong: stop there.
    if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) &&
        CurrentPcmFormat(*stream_.reader.Get(), stream_.index) != stream_.format) {
      ended_ = true;
      break;
    }
    if (!sample) continue;  // a gap in the stream, nothing decoded
    ComPtr<IMFMediaBuffer> contiguous;
    BYTE* bytes = nullptr;
    DWORD length = 0;
    if (FAILED(sample->ConvertToContiguousBuffer(contiguous.GetAddressOf())) ||
        FAILED(contiguous->Lock(&bytes, nullptr, &length))) {
      ended_ = true;
      break;
    }
    const std::size_t frameBytes = Channels() * sizeof(std::int16_t);
    buffer_.resize(length / frameBytes * Channels());
    std::memcpy(buffer_.data(), bytes, buffer_.size() * sizeof(std::int16_t));
    contiguous->Unlock();
    if (buffer_.empty()) continue;
    bufferTime_ = time;
    start = std::max<std::int64_t>(0, FramesAt(time - origin_, stream_.format.sampleRate));
    return true;
  }
  return false;
}

std::size_t MediaFoundationSource::Read(std::int16_t* out, std::size_t frames) {
  // Whatever the decoder gives beyond the declared length is not played.
  const std::size_t wanted = std::min(frames, Remaining());
  std::size_t done = 0;
  while (done < wanted) {
    std::int64_t start = 0;
    if (BufferedFrames() == 0 && !Decode(start)) break;
    const std::size_t take = std::min(wanted - done, BufferedFrames());
    std::memcpy(out + done * Channels(), buffer_.data() + used_, take * Channels() * sizeof(std::int16_t));
    used_ += take * Channels();
    done += take;
  }
  position_ += std::int64_t(done);
  return done;
}

bool MediaFoundationSource::Seek(std::int64_t frame) {
  if (frame < 0 || frame > Frames()) return false;
  const int rate = stream_.format.sampleRate;
  // Compressed formats may land a little after the time asked for: ask for
  // earlier, and earlier again when it still lands after the frame.
  std::int64_t preroll = rate / 10;
  std::int64_t start = 0;
  for (;;) {
    const std::int64_t from = std::max<std::int64_t>(0, frame - preroll);
    // In 100 ns units, which the null time format (GUID{}) means.
    PROPVARIANT at;
    PropVariantInit(&at);
    at.vt = VT_I8;
    at.hVal.QuadPart = origin_ + TimeOfFrame(from, rate);
    ended_ = false;
    if (FAILED(stream_.reader->SetCurrentPosition(GUID{}, at))) {
      buffer_.clear();  // where the reader now is, nobody knows
      used_ = 0;
      ended_ = true;
      return false;
    }
    // Nothing decoded after the position: reads there give nothing, as
    // they would have reading up to it.
    if (!Decode(start)) break;
    if (start <= frame || from == 0) break;
    preroll *= 4;
  }
  // Drops what comes before the frame, by each buffer's own time.
  while (!ended_ && start + std::int64_t(BufferedFrames()) <= frame) Decode(start);
  if (!ended_ && start < frame) used_ += std::size_t(frame - start) * Channels();
  position_ = frame;
  return true;
}

}  // namespace

std::unique_ptr<audio::PcmSource> OpenMediaFoundationSource(const std::string& utf8Path) {
  const std::wstring path = os::WidenPath(utf8Path);
  if (path.empty() || !IsRegularFile(path)) return nullptr;
  auto source = std::make_unique<MediaFoundationSource>();
  if (!source->Open(path)) return nullptr;
  return source;
}

}  // namespace kestrafon::platform::winsound
