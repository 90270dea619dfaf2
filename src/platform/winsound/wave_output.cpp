#include "platform/winsound/wave_output.h"

#include <algorithm>
#include <cstring>

namespace kestrafon::platform::winsound {

DeviceShelf::~DeviceShelf() {
  if (!kept_) return;
  waveOutClose(kept_->handle);
  CloseHandle(kept_->done);
}

std::optional<DeviceShelf::Device> DeviceShelf::Take(const audio::PcmFormat& format) {
  std::lock_guard lock(mutex_);
  if (!kept_ || kept_->format != format) return std::nullopt;
  std::optional<Device> device = kept_;
  kept_.reset();
  return device;
}

bool DeviceShelf::Put(const Device& device) {
  std::lock_guard lock(mutex_);
  if (kept_) return false;
  kept_ = device;
  return true;
}

WaveOutput::WaveOutput(std::shared_ptr<DeviceShelf> shelf)
    : shelf_(std::move(shelf)), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

WaveOutput::~WaveOutput() {
  Close();
  if (wake_) CloseHandle(wake_);
}

bool WaveOutput::OpenDevice(const audio::PcmFormat& format) {
  if (shelf_) {
    if (const auto kept = shelf_->Take(format)) {
      device_ = kept->handle;
      done_ = kept->done;
      openedAt_ = kept->openedAt;
      return true;
    }
  }
  done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!done_) return false;
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = static_cast<WORD>(format.channels);
  wave.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
  wave.wBitsPerSample = 16;
  wave.nBlockAlign = static_cast<WORD>(format.channels * 2);
  wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  if (waveOutOpen(&device_, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(done_), 0, CALLBACK_EVENT) !=
      MMSYSERR_NOERROR) {
    device_ = nullptr;
    CloseHandle(done_);
    done_ = nullptr;
    return false;
  }
  openedAt_ = GetTickCount64();
  return true;
}

bool WaveOutput::Open(const audio::PcmFormat& format) {
  Close();
  if (!wake_ || format.channels <= 0 || format.sampleRate <= 0 || !OpenDevice(format)) return false;
  // Paused before anything is written: nothing plays until Resume.
  waveOutPause(device_);
  paused_ = true;
  restartDue_ = false;
  format_ = format;
  channels_ = format.channels;
  for (Block& block : blocks_) {
    block.samples.assign(kBlockFrames * static_cast<std::size_t>(channels_), 0);
    block.header = WAVEHDR{};
    block.sent = false;
    block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
    block.header.dwBufferLength = static_cast<DWORD>(block.samples.size() * sizeof(std::int16_t));
    if (waveOutPrepareHeader(device_, &block.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
      Close();
      return false;
    }
  }
  next_ = 0;
  gone_ = false;
  written_ = 0;
  lastCount_ = 0;
  wraps_ = 0;
  return true;
}

void WaveOutput::Close() {
  if (!device_) return;
  waveOutReset(device_);
  for (Block& block : blocks_) {
    if (block.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &block.header, sizeof(WAVEHDR));
  }
  // Kept warm for the next stream where there is room; closed otherwise.
  if (gone_ || !shelf_ || !shelf_->Put({device_, done_, format_, openedAt_})) {
    waveOutClose(device_);
    CloseHandle(done_);
  }
  device_ = nullptr;
  done_ = nullptr;
}

// Sent and not yet given back: WHDR_DONE is the one flag every system sets
// when it is done with a block (Wine does not set WHDR_INQUEUE).
bool WaveOutput::Queued(const Block& block) const { return block.sent && !(block.header.dwFlags & WHDR_DONE); }

// Wine's device, restarted in its first moments after it opened, plays 25 ms
// and then drops a few hundred: the restart waits until the device is warm.
bool WaveOutput::RestartWhenWarm() {
  if (!restartDue_) return true;
  if (GetTickCount64() - openedAt_ < kWarmUpMilliseconds) return false;
  restartDue_ = false;
  if (waveOutRestart(device_) != MMSYSERR_NOERROR) gone_ = true;
  return !gone_;
}

std::size_t WaveOutput::FreeBlocks() {
  if (!device_ || gone_ || !RestartWhenWarm()) return 0;
  return static_cast<std::size_t>(std::count_if(blocks_.begin(), blocks_.end(), [&](const Block& b) {
    return !Queued(b);
  }));
}

bool WaveOutput::Write(const std::int16_t* samples, std::size_t frames) {
  if (!device_ || gone_) return false;
  Block& block = blocks_[next_];
  frames = std::min(frames, kBlockFrames);
  if (Queued(block)) return false;  // the stream asks FreeBlocks first
  if (frames == 0) return true;
  const std::size_t count = frames * static_cast<std::size_t>(channels_);
  std::memcpy(block.samples.data(), samples, count * sizeof(std::int16_t));
  block.header.dwBufferLength = static_cast<DWORD>(count * sizeof(std::int16_t));
  block.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
  if (waveOutWrite(device_, &block.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    gone_ = true;
    return false;
  }
  block.sent = true;
  next_ = (next_ + 1) % kBlocks;
  written_ += static_cast<std::int64_t>(frames);
  return true;
}

bool WaveOutput::Pause() {
  if (!device_ || gone_) return false;
  paused_ = true;
  restartDue_ = false;
  return waveOutPause(device_) == MMSYSERR_NOERROR;
}

bool WaveOutput::Resume() {
  if (!device_ || gone_) return false;
  paused_ = false;
  restartDue_ = true;
  return RestartWhenWarm() || !gone_;
}

bool WaveOutput::Reset() {
  if (!device_ || gone_) return false;
  // A reset device may run again: keep it as it was. (Wine's would play
  // what is written next even when paused; the stream writes nothing then.)
  const bool ok = waveOutReset(device_) == MMSYSERR_NOERROR;
  if (paused_) waveOutPause(device_);
  for (Block& block : blocks_) block.sent = false;
  written_ = 0;
  lastCount_ = 0;
  wraps_ = 0;
  return ok;
}

std::int64_t WaveOutput::Played() {
  if (!device_ || gone_) return -1;
  MMTIME time{};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(device_, &time, sizeof(time)) != MMSYSERR_NOERROR) {
    gone_ = true;
    return -1;
  }
  // Counted in samples where the device can, in bytes where not.
  const std::uint32_t count = time.wType == TIME_BYTES ? time.u.cb : time.u.sample;
  if (count < lastCount_) ++wraps_;
  lastCount_ = count;
  std::int64_t played = (wraps_ << 32) + count;
  if (time.wType == TIME_BYTES) played /= channels_ * 2;
  // Once every block is back, all that was written has played.
  const bool idle = std::none_of(blocks_.begin(), blocks_.end(), [&](const Block& b) { return Queued(b); });
  return idle ? written_ : std::min(played, written_);
}

void WaveOutput::Wait(int ms) {
  if (restartDue_) {  // wake when the device is warm
    const ULONGLONG warm = openedAt_ + kWarmUpMilliseconds, now = GetTickCount64();
    ms = static_cast<int>(std::min<ULONGLONG>(static_cast<ULONGLONG>(ms), warm > now ? warm - now : 0));
  }
  const HANDLE events[] = {wake_, done_};
  WaitForMultipleObjects(done_ ? 2 : 1, events, FALSE, static_cast<DWORD>(ms));
}

void WaveOutput::Wake() { SetEvent(wake_); }

}  // namespace kestrafon::platform::winsound
