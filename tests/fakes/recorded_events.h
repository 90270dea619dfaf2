#pragma once
// Records what a media graph reports, for tests of the graphs themselves.
#include <algorithm>
#include <string>
#include <vector>

#include "seam/media.h"

namespace kestrafon::fakes {

// What a graph reported, in order: "opened", "not opened", "started 7",
// "failed 7", "ended", "lost".
struct RecordedEvents final : seam::GraphEvents {
  void Opened(bool ok) override { heard.push_back(ok ? "opened" : "not opened"); }
  void FollowerStarted(seam::FollowTag tag) override { heard.push_back("started " + std::to_string(tag)); }
  void FollowerFailed(seam::FollowTag tag) override { heard.push_back("failed " + std::to_string(tag)); }
  void StreamEnded() override { heard.push_back("ended"); }
  void OutputLost() override { heard.push_back("lost"); }
  bool Heard(const std::string& event) const { return std::count(heard.begin(), heard.end(), event) > 0; }
  std::vector<std::string> heard;
};

}  // namespace kestrafon::fakes
