#include "audio/pcm_stream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrafon::audio {
namespace {

// How often the thread looks at the device when no block finishes sooner.
constexpr int kWatchMilliseconds = 20;

}  // namespace

PcmStream::PcmStream(std::unique_ptr<SoundOutput> output, std::function<void(const StreamNews&)> tell,
                     ThreadBody onThread)
    : output_(std::move(output)), tell_(std::move(tell)), onThread_(std::move(onThread)) {}

PcmStream::~PcmStream() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  if (thread_.joinable()) {
    output_->Wake();
    thread_.join();
  }
  output_->Close();
}

bool PcmStream::Start(std::unique_ptr<PcmSource> first, double gain) {
  if (!first || thread_.joinable()) return false;
  const PcmFormat format = first->Format();
  if (!output_->Open(format)) return false;
  deviceFormat_ = format;
  lead_ = Frames(kLeadMilliseconds);
  Queued q;
  q.serial = nextSerial_;
  q.frames = first->Frames();
  q.gain = gain;
  q.format = format;
  q.source = std::move(first);
  q.given = true;  // the device is there for it: its frame 0 plays after the lead
  q.base = lead_;
  queue_.push_back(std::move(q));
  thread_ = std::thread([this] {
    if (onThread_) {
      onThread_([this] { Loop(); });
    } else {
      Loop();
    }
  });
  return true;
}

void PcmStream::Run() {
  {
    std::lock_guard lock(mutex_);
    running_ = true;
  }
  output_->Wake();
}

void PcmStream::Pause() {
  {
    std::lock_guard lock(mutex_);
    running_ = false;
  }
  output_->Wake();
}

void PcmStream::Seek(std::uint64_t serial, std::int64_t frame) {
  {
    std::lock_guard lock(mutex_);
    seekAsked_ = true;
    seekSerial_ = serial;
    seekFrame_ = std::max<std::int64_t>(frame, 0);
  }
  output_->Wake();
}

void PcmStream::SetGain(double gain) {
  std::lock_guard lock(mutex_);
  gain_ = std::clamp(gain, 0.0, 1.0);
}

std::uint64_t PcmStream::Follow(std::unique_ptr<PcmSource> next, double gain) {
  std::uint64_t serial = 0;
  {
    std::lock_guard lock(mutex_);
    if (!next || ended_ || lost_) return 0;
    Queued q;
    q.serial = serial = ++nextSerial_;
    q.format = next->Format();
    q.frames = next->Frames();
    q.gain = gain;
    q.source = std::move(next);
    queue_.push_back(std::move(q));
  }
  output_->Wake();
  return serial;
}

std::uint64_t PcmStream::DropAfter(std::uint64_t serial) {
  std::lock_guard lock(mutex_);
  // What went to the device plays; only what is queued behind it can go.
  std::uint64_t kept = serial;
  auto from = queue_.begin();
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->serial <= serial || it->given) {
      kept = std::max(kept, it->serial);
      from = std::next(it);
    }
  }
  if (from == queue_.end()) return kept;
  queue_.erase(from, queue_.end());
  std::erase_if(ring_, [&](const Block& b) { return b.serial > kept; });
  return kept;
}

SourceProgress PcmStream::Progress(std::uint64_t serial) const {
  std::lock_guard lock(mutex_);
  if (seekAsked_ && serial == seekSerial_) return {seekFrame_, false};
  const auto it = std::find_if(queue_.begin(), queue_.end(), [&](const Queued& q) { return q.serial == serial; });
  if (it == queue_.end()) return {std::numeric_limits<std::int64_t>::max(), true};
  if (!it->given) return {0, false};
  const auto next = std::next(it);
  const bool movedOn = next != queue_.end() && next->given && played_ >= next->base;
  // While the lead of silence before a seek's frame plays, the place is that frame.
  std::int64_t frames = std::clamp<std::int64_t>(played_ - it->base, it->from, it->frames);
  // What the device counts as played may still be on its way to the speaker:
  // the end is read once the stream has ended, as it is told.
  if (frames == it->frames && !movedOn && !ended_ && frames > 0) --frames;
  return {frames, movedOn};
}

void PcmStream::Loop() {
  while (Turn()) {
  }
}

bool PcmStream::Turn() {
  std::vector<StreamNews> news;
  {
    std::unique_lock lock(mutex_);
    if (quit_) return false;
    if (!lost_) {
      if (seekAsked_) ApplySeek(lock);
      if (running_ != deviceRunning_) {
        if (running_ ? output_->Resume() : output_->Pause()) deviceRunning_ = running_;
      }
      Observe(lock, news);
      if (!lost_ && deviceRunning_) Feed(lock);
    }
  }
  for (const StreamNews& n : news) tell_(n);
  finished_.clear();  // closing a file's decoder may take a while: not under the lock
  DecodeAhead();
  {
    std::lock_guard lock(mutex_);
    if (quit_) return false;
  }
  output_->Wait(kWatchMilliseconds);
  return true;
}

void PcmStream::ApplySeek(std::unique_lock<std::mutex>&) {
  seekAsked_ = false;
  // Whatever was before the source asked for has played; if that source
  // has itself gone by meanwhile, the one that plays now starts again.
  while (queue_.size() > 1 && queue_.front().serial < seekSerial_) queue_.pop_front();
  const bool found = queue_.front().serial == seekSerial_;
  output_->Reset();
  ring_.clear();
  written_ = played_ = 0;
  lead_ = Frames(kLeadMilliseconds);
  tail_ = 0;
  ended_ = false;
  bool first = true;
  for (Queued& q : queue_) {
    q.decoded = first ? std::min(found ? seekFrame_ : 0, q.frames) : 0;
    q.seekPending = true;
    q.given = first;
    q.base = lead_ - q.decoded;
    q.from = q.decoded;
    first = false;
  }
}

void PcmStream::Observe(std::unique_lock<std::mutex>&, std::vector<StreamNews>& news) {
  const std::int64_t played = output_->Played();
  if (played < 0) {
    lost_ = true;
    news.push_back({StreamNews::Kind::Lost, 0});
    return;
  }
  played_ = std::min(played, written_);
  while (queue_.size() > 1 && queue_[1].given && played_ >= queue_[1].base) {
    finished_.push_back(std::move(queue_.front().source));
    queue_.pop_front();
    news.push_back({StreamNews::Kind::Started, queue_.front().serial});
  }
  const Queued& last = queue_.front();
  if (!ended_ && queue_.size() == 1 && last.decoded >= last.frames && ring_.empty() &&
      tail_ >= Frames(kTailMilliseconds) && played_ >= written_) {
    ended_ = true;
    news.push_back({StreamNews::Kind::Ended, last.serial});
  }
}

void PcmStream::Feed(std::unique_lock<std::mutex>& lock) {
  while (lead_ > 0 && output_->FreeBlocks() > 0) {
    const std::int64_t frames = std::min<std::int64_t>(lead_, SoundOutput::kBlockFrames);
    if (!WriteSilence(frames)) return;
    lead_ -= frames;
  }
  if (lead_ > 0) return;
  while (!ring_.empty() && !quit_) {
    const Block& block = ring_.front();
    Queued* q = Find(block.serial);
    if (!q) {  // dropped meanwhile
      ring_.pop_front();
      continue;
    }
    if (q->format != deviceFormat_) {
      if (played_ < written_) return;  // let the old format play out first
      Reopen(lock);
      return;
    }
    if (output_->FreeBlocks() == 0) return;
    if (!q->given) {
      q->given = true;
      q->base = written_ - block.firstFrame;
    }
    WriteBlock(block, gain_ * q->gain);
    if (lost_) return;
    written_ += static_cast<std::int64_t>(block.frames);
    tail_ = 0;
    ring_.pop_front();
  }
  // After the last sound, silence for the device to play it out.
  const Queued& last = queue_.back();
  while (ring_.empty() && last.decoded >= last.frames && tail_ < Frames(kTailMilliseconds) &&
         output_->FreeBlocks() > 0) {
    const std::int64_t frames = std::min<std::int64_t>(Frames(kTailMilliseconds) - tail_, SoundOutput::kBlockFrames);
    if (!WriteSilence(frames)) return;
    tail_ += frames;
  }
}

bool PcmStream::WriteSilence(std::int64_t frames) {
  scaled_.assign(static_cast<std::size_t>(frames * deviceFormat_.channels), 0);
  if (!output_->Write(scaled_.data(), static_cast<std::size_t>(frames))) {
    lost_ = true;
    return false;
  }
  written_ += frames;
  return true;
}

std::int64_t PcmStream::Frames(std::int64_t milliseconds) const {
  return milliseconds * deviceFormat_.sampleRate / 1000;
}

void PcmStream::Reopen(std::unique_lock<std::mutex>& lock) {
  const PcmFormat format = Find(ring_.front().serial)->format;
  lock.unlock();
  output_->Close();
  const bool opened = output_->Open(format);
  lock.lock();
  deviceFormat_ = format;
  written_ = played_ = 0;
  lead_ = Frames(kLeadMilliseconds);
  deviceRunning_ = false;
  if (!opened) {
    lost_ = true;
    tell_({StreamNews::Kind::Lost, 0});
  }
}

void PcmStream::WriteBlock(const Block& block, double gain) {
  const std::int16_t* samples = block.samples.data();
  if (gain != 1.0) {
    scaled_.resize(block.samples.size());
    for (std::size_t i = 0; i < scaled_.size(); ++i)
      scaled_[i] = static_cast<std::int16_t>(std::clamp(std::lround(block.samples[i] * gain), -32768L, 32767L));
    samples = scaled_.data();
  }
  if (!output_->Write(samples, block.frames)) lost_ = true;
}

void PcmStream::DecodeAhead() {
  for (;;) {
    std::shared_ptr<PcmSource> source;
    std::uint64_t serial = 0;
    std::int64_t from = 0;
    std::size_t want = 0;
    bool seek = false;
    int channels = 0;
    {
      std::lock_guard lock(mutex_);
      if (quit_ || lost_ || seekAsked_) return;
      if (RingFrames() >= Frames(kAheadMilliseconds)) return;
      auto it = std::find_if(queue_.begin(), queue_.end(), [](const Queued& q) { return q.decoded < q.frames; });
      if (it == queue_.end()) return;
      source = it->source;
      serial = it->serial;
      from = it->decoded;
      want = static_cast<std::size_t>(std::min<std::int64_t>(SoundOutput::kBlockFrames, it->frames - from));
      seek = it->seekPending;
      it->seekPending = false;
      channels = it->format.channels;
    }
    // The read may take long (a slow disk): the lock is not held for it.
    Block block{serial, from, std::vector<std::int16_t>(want * static_cast<std::size_t>(channels)), want};
    std::size_t got = 0;
    if (!seek || source->Seek(from)) got = source->Read(block.samples.data(), want);
    // Whatever the file could not give is silence: the stream plays exactly
    // the length the source announced.
    std::fill(block.samples.begin() + static_cast<std::ptrdiff_t>(got * static_cast<std::size_t>(channels)),
              block.samples.end(), 0);
    std::lock_guard lock(mutex_);
    Queued* q = Find(serial);
    if (!q || q->decoded != from || seekAsked_) continue;  // dropped or moved meanwhile
    q->decoded += static_cast<std::int64_t>(want);
    ring_.push_back(std::move(block));
  }
}

PcmStream::Queued* PcmStream::Find(std::uint64_t serial) {
  for (Queued& q : queue_)
    if (q.serial == serial) return &q;
  return nullptr;
}

std::int64_t PcmStream::RingFrames() const {
  std::int64_t frames = 0;
  for (const Block& b : ring_) frames += static_cast<std::int64_t>(b.frames);
  return frames;
}

}  // namespace kestrafon::audio
