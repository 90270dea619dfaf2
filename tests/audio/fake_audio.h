#pragma once
// Fakes below the stream: sources whose every sample says where it came
// from, an output that plays by a clock or when the test says, and a system
// whose window thread is the test's own.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/pcm_source.h"
#include "audio/sound_output.h"
#include "audio/stream_system.h"

namespace kestrafon::audio::fakes {

// Sample `i` of channel `c` of a source marked `mark`: recognisable anywhere.
inline std::int16_t Mark(int mark, std::int64_t frame, int channel) {
  return static_cast<std::int16_t>(mark * 1000 + (frame * 2 + channel) % 997);
}

struct SourceSpec {
  int mark = 1;
  std::int64_t frames = 44100;
  PcmFormat format{44100, 2};
  std::int64_t readable = -1;  // frames Read gives before it fails; -1: all
};

class FakeSource final : public PcmSource {
 public:
  explicit FakeSource(SourceSpec spec) : spec_(spec) {}
  PcmFormat Format() const override { return spec_.format; }
  std::int64_t Frames() const override { return spec_.frames; }
  std::size_t Read(std::int16_t* out, std::size_t frames) override {
    const std::int64_t end = spec_.readable < 0 ? spec_.frames : spec_.readable;
    const auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(end - at_, 0, std::int64_t(frames)));
    for (std::size_t f = 0; f < n; ++f, ++at_)
      for (int c = 0; c < spec_.format.channels; ++c) *out++ = Mark(spec_.mark, at_, c);
    return n;
  }
  bool Seek(std::int64_t frame) override {
    at_ = frame;
    return true;
  }

 private:
  SourceSpec spec_;
  std::int64_t at_ = 0;
};

// Plays what is written, either as the test says (Play) or, clocked, in real
// time while running. Everything it played is kept.
class FakeOutput final : public SoundOutput {
 public:
  struct Shared {  // what the test sees, also after the stream let go of the output
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::int16_t> heard;
    std::vector<PcmFormat> opened;
    bool refuse = false;  // no device
    bool lost = false;
    bool running = false;
    bool clocked = false;
    std::size_t capacity = 4;  // blocks
    std::int64_t credit = 0;   // not clocked: frames the device may still play
    std::int64_t written = 0;  // frames ever written

    // Not clocked: lets the device play `frames` more, while running.
    void Grant(std::int64_t frames) {
      std::lock_guard lock(mutex);
      credit += frames;
    }
  };
  explicit FakeOutput(std::shared_ptr<Shared> shared) : s_(std::move(shared)) {}

  bool Open(const PcmFormat& format) override {
    std::lock_guard lock(s_->mutex);
    if (s_->refuse) return false;
    s_->opened.push_back(format);
    format_ = format;
    queue_.clear();
    offset_ = 0;
    played_ = written_ = 0;
    s_->running = false;
    return true;
  }
  void Close() override {
    std::lock_guard lock(s_->mutex);
    queue_.clear();
    offset_ = 0;
  }
  std::size_t FreeBlocks() override {
    std::lock_guard lock(s_->mutex);
    Tick();
    return queue_.size() >= s_->capacity ? 0 : s_->capacity - queue_.size();
  }
  bool Write(const std::int16_t* samples, std::size_t frames) override {
    std::lock_guard lock(s_->mutex);
    if (s_->lost) return false;
    queue_.emplace_back(samples, samples + frames * format_.channels);
    written_ += static_cast<std::int64_t>(frames);
    s_->written += static_cast<std::int64_t>(frames);
    return true;
  }
  bool Pause() override { return SetRunning(false); }
  bool Resume() override { return SetRunning(true); }
  bool Reset() override {
    std::lock_guard lock(s_->mutex);
    queue_.clear();
    offset_ = 0;
    played_ = written_ = 0;
    return true;
  }
  std::int64_t Played() override {
    std::lock_guard lock(s_->mutex);
    if (s_->lost) return -1;
    Tick();
    return played_;
  }
  void Wait(int ms) override {
    std::unique_lock lock(s_->mutex);
    s_->changed.wait_for(lock, std::chrono::milliseconds(std::min(ms, 5)), [&] { return woken_; });
    woken_ = false;
  }
  void Wake() override {
    std::lock_guard lock(s_->mutex);
    woken_ = true;
    s_->changed.notify_all();
  }

 private:
  bool SetRunning(bool running) {
    std::lock_guard lock(s_->mutex);
    Tick();
    s_->running = running;
    since_ = std::chrono::steady_clock::now();
    return !s_->lost;
  }
  // What the time since the last look played, or the test's credit.
  void Tick() {
    if (!s_->running) return;
    if (!s_->clocked) {
      s_->credit -= Consume(s_->credit);
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto frames = std::chrono::duration_cast<std::chrono::microseconds>(now - since_).count() *
                        format_.sampleRate / 1000000;
    if (frames <= 0) return;
    since_ = now;
    Consume(frames);
  }
  std::int64_t Consume(std::int64_t frames) {
    const std::int64_t asked = frames;
    while (frames > 0 && !queue_.empty()) {
      auto& block = queue_.front();
      const std::int64_t have = static_cast<std::int64_t>(block.size()) / format_.channels - offset_;
      const std::int64_t take = std::min(have, frames);
      const auto from = block.begin() + offset_ * format_.channels;
      s_->heard.insert(s_->heard.end(), from, from + take * format_.channels);
      offset_ += take;
      played_ += take;
      frames -= take;
      if (offset_ * format_.channels == static_cast<std::int64_t>(block.size())) {
        queue_.pop_front();
        offset_ = 0;
      }
    }
    return asked - frames;
  }

  std::shared_ptr<Shared> s_;
  PcmFormat format_;
  std::deque<std::vector<std::int16_t>> queue_;
  std::int64_t offset_ = 0;  // frames of the front block played
  std::int64_t played_ = 0, written_ = 0;
  bool woken_ = false;
  std::chrono::steady_clock::time_point since_ = std::chrono::steady_clock::now();
};

// Files by name, one output shared by every graph, and the test's thread as
// the window's: posted work runs when the test calls Deliver.
class FakeSystem final : public StreamSystem {
 public:
  std::map<std::string, SourceSpec> files;
  seam::ReadTrack read;  // each file's loudness and text; gain 1 and no text without it
  std::shared_ptr<FakeOutput::Shared> output = std::make_shared<FakeOutput::Shared>();
  std::function<void()> beforeOpening;  // run by the worker (tests hold it there)

  std::unique_ptr<PcmSource> OpenSource(const std::string& path) override {
    if (beforeOpening) beforeOpening();
    const auto it = files.find(path);
    if (it == files.end()) return nullptr;
    return std::make_unique<FakeSource>(it->second);
  }
  seam::TrackFacts TrackFactsOf(const std::string& path) override { return read ? read(path) : seam::TrackFacts{}; }
  std::unique_ptr<SoundOutput> MakeOutput() override { return std::make_unique<FakeOutput>(output); }
  void Post(std::function<void()> work) override {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(work));
  }
  // Runs what was posted, as the window's event loop would; returns how much.
  int Deliver() {
    int ran = 0;
    for (;;) {
      std::function<void()> work;
      {
        std::lock_guard lock(mutex_);
        if (posted_.empty()) return ran;
        work = std::move(posted_.front());
        posted_.pop_front();
      }
      work();
      ++ran;
    }
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace kestrafon::audio::fakes
