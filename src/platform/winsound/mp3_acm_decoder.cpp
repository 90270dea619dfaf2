#include "platform/winsound/mp3_acm_decoder.h"

#include <algorithm>
#include <cstring>

namespace kestrafon::platform::winsound {
namespace {

// Room for at least this many decoded frames per conversion; a fuller
// buffer is emptied by converting again.
constexpr std::size_t kOutputFrames = 8;
// A decoder that fills every buffer it is given is broken: stop asking.
constexpr int kMaxConversionsPerCall = 256;

}  // namespace

Mp3AcmDecoder::Mp3AcmDecoder(const mp3::MpegAudioHeader& first) : source_(2 * kFeedBytes) {
  WAVEFORMATEX& in = mp3Format_.wfx;
  in.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  in.nChannels = WORD(first.channels);
  in.nSamplesPerSec = DWORD(first.sampleRate);
  in.nAvgBytesPerSec = DWORD(first.bitrateKbps * 1000 / 8);
  in.nBlockAlign = 1;
  in.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3Format_.wID = MPEGLAYER3_ID_MPEG;
  mp3Format_.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
  mp3Format_.nBlockSize = WORD(first.frameBytes);
  mp3Format_.nFramesPerBlock = 1;
  mp3Format_.nCodecDelay = 0;  // we trim the delays ourselves

  pcmFormat_.wFormatTag = WAVE_FORMAT_PCM;
  pcmFormat_.nChannels = WORD(first.channels);
  pcmFormat_.nSamplesPerSec = DWORD(first.sampleRate);
  pcmFormat_.wBitsPerSample = 16;
  pcmFormat_.nBlockAlign = WORD(2 * first.channels);
  pcmFormat_.nAvgBytesPerSec = pcmFormat_.nBlockAlign * pcmFormat_.nSamplesPerSec;
  output_.resize(kOutputFrames * std::size_t(first.samplesPerFrame) * pcmFormat_.nBlockAlign);
}

std::unique_ptr<Mp3AcmDecoder> Mp3AcmDecoder::Open(const mp3::MpegAudioHeader& first) {
  if (first.layer != 3 || first.channels < 1 || first.channels > 2 || first.samplesPerFrame <= 0) return nullptr;
  std::unique_ptr<Mp3AcmDecoder> decoder(new Mp3AcmDecoder(first));
  if (!decoder->OpenStream()) return nullptr;
  return decoder;
}

Mp3AcmDecoder::~Mp3AcmDecoder() { CloseStream(); }

bool Mp3AcmDecoder::OpenStream() {
  // No driver named: ACM finds one that converts these formats.
  if (acmStreamOpen(&stream_, nullptr, &mp3Format_.wfx, &pcmFormat_, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
      MMSYSERR_NOERROR) {
    stream_ = nullptr;
    return false;
  }
  // The decoder may want more room than we planned for.
  DWORD wanted = 0;
  if (acmStreamSize(stream_, DWORD(source_.size()), &wanted, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR &&
      wanted > output_.size()) {
    output_.resize(wanted);
  }
  header_ = ACMSTREAMHEADER{};
  header_.cbStruct = sizeof(header_);
  header_.pbSrc = source_.data();
  header_.cbSrcLength = DWORD(source_.size());
  header_.pbDst = output_.data();
  header_.cbDstLength = DWORD(output_.size());
  if (acmStreamPrepareHeader(stream_, &header_, 0) != MMSYSERR_NOERROR) {
    acmStreamClose(stream_, 0);
    stream_ = nullptr;
    return false;
  }
  sourceFill_ = 0;
  return true;
}

void Mp3AcmDecoder::CloseStream() {
  if (!stream_) return;
  // Unpreparing wants the lengths the header was prepared with.
  header_.cbSrcLength = DWORD(source_.size());
  header_.cbDstLength = DWORD(output_.size());
  acmStreamUnprepareHeader(stream_, &header_, 0);
  acmStreamClose(stream_, 0);
  stream_ = nullptr;
}

bool Mp3AcmDecoder::Restart() {
  CloseStream();
  return OpenStream();
}

bool Mp3AcmDecoder::Decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& pcm) {
  if (!stream_ || frames.size() > source_.size() - sourceFill_) return false;
  std::memcpy(source_.data() + sourceFill_, frames.data(), frames.size());
  sourceFill_ += frames.size();
  return Convert(ACM_STREAMCONVERTF_BLOCKALIGN, pcm);
}

bool Mp3AcmDecoder::Finish(std::vector<std::int16_t>& pcm) {
  return stream_ && Convert(ACM_STREAMCONVERTF_END, pcm);
}

bool Mp3AcmDecoder::Convert(DWORD flags, std::vector<std::int16_t>& pcm) {
  for (int i = 0; i < kMaxConversionsPerCall; ++i) {
    header_.cbSrcLength = DWORD(sourceFill_);
    header_.cbDstLength = DWORD(output_.size());
    if (acmStreamConvert(stream_, &header_, flags) != MMSYSERR_NOERROR) return false;
    // Whole sample frames only, so the channels stay in step.
    const std::size_t made = std::min<std::size_t>(header_.cbDstLengthUsed, output_.size()) /
                             pcmFormat_.nBlockAlign * pcmFormat_.nBlockAlign;
    const std::size_t at = pcm.size();
    pcm.resize(at + made / 2);
    std::memcpy(pcm.data() + at, output_.data(), made);
    // What it did not read, it wants again with the next frames.
    const std::size_t used = std::min<std::size_t>(header_.cbSrcLengthUsed, sourceFill_);
    std::memmove(source_.data(), source_.data() + used, sourceFill_ - used);
    sourceFill_ -= used;
    // A full buffer may have left samples inside the decoder; anything less
    // means it has given all it can.
    if (header_.cbDstLengthUsed < header_.cbDstLength) return true;
  }
  return false;
}

}  // namespace kestrafon::platform::winsound
