#pragma once
// The sound device through waveOut: one stream kept open and fed block after
// block, which the system plays without a gap as long as the queue is fed.
// Used by the stream's thread; Wake may come from any thread.
#include <windows.h>
// after windows.h
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "audio/sound_output.h"

namespace kestrafon::platform::winsound {

// One device let go by a stream, kept open for the next one of the same
// format: a device restarts only once it is warm (kWarmUpMilliseconds), and
// a kept one is, so only the first tracks of a session wait for it.
class DeviceShelf {
 public:
  struct Device {
    HWAVEOUT handle = nullptr;
    HANDLE done = nullptr;  // the device's own event: set as each block is done
    audio::PcmFormat format;
    ULONGLONG openedAt = 0;
  };
  DeviceShelf() = default;
  ~DeviceShelf();  // closes the device kept
  DeviceShelf(const DeviceShelf&) = delete;
  DeviceShelf& operator=(const DeviceShelf&) = delete;
  // The kept device, if it has this format.
  std::optional<Device> Take(const audio::PcmFormat& format);
  // Keeps `device`; false when one is kept already (the caller closes it).
  bool Put(const Device& device);

 private:
  std::mutex mutex_;
  std::optional<Device> kept_;
};

class WaveOutput final : public audio::SoundOutput {
 public:
  // Devices are taken from and given back to `shelf`, where there is one.
  explicit WaveOutput(std::shared_ptr<DeviceShelf> shelf = nullptr);
  ~WaveOutput() override;
  WaveOutput(const WaveOutput&) = delete;
  WaveOutput& operator=(const WaveOutput&) = delete;

  bool Open(const audio::PcmFormat& format) override;
  void Close() override;
  std::size_t FreeBlocks() override;
  bool Write(const std::int16_t* samples, std::size_t frames) override;
  bool Pause() override;
  bool Resume() override;
  bool Reset() override;
  std::int64_t Played() override;
  void Wait(int ms) override;
  void Wake() override;

  // Blocks in the device's queue at most: about 140 ms at 44.1 kHz, which is
  // how late a change of volume is heard. (With eight, Wine's device now and
  // then left gaps of 20 ms.)
  static constexpr std::size_t kBlocks = 6;
  // How long after it opened a device is first restarted, at the soonest:
  // Wine's, restarted sooner, drops a few hundred milliseconds of sound.
  static constexpr ULONGLONG kWarmUpMilliseconds = 600;

 private:
  struct Block {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    bool sent = false;
  };
  bool Queued(const Block& block) const;
  // A kept device of this format, or a new one; false when none opens.
  bool OpenDevice(const audio::PcmFormat& format);
  // Restarts the device if Resume asked and it is warm; false while it waits.
  bool RestartWhenWarm();

  HWAVEOUT device_ = nullptr;
  std::shared_ptr<DeviceShelf> shelf_;
  HANDLE wake_ = nullptr;  // set by Wake
  HANDLE done_ = nullptr;  // the device's event: set as each block is done
  ULONGLONG openedAt_ = 0;
  bool restartDue_ = false;  // Resume asked while the device was still warming up
  std::array<Block, kBlocks> blocks_;
  std::size_t next_ = 0;    // the block Write fills next: the oldest one
  audio::PcmFormat format_;
  int channels_ = 0;
  bool paused_ = true;
  bool gone_ = false;
  std::int64_t written_ = 0;
  // The device counts played samples in 32 bits: it wraps after 27 hours.
  std::uint32_t lastCount_ = 0;
  std::int64_t wraps_ = 0;
};

}  // namespace kestrafon::platform::winsound
