// What a recording of the cut tone shows, for bench/gapless.sh.
//
//   gapless_figures --exact <recording.raw> <frames of piece 1> <frames of piece 2> ...
//     A recording that holds every sample played and nothing else (the file
//     output): the joints lie where the pieces' lengths put them. One line
//     per joint (20 ms either side) and one for the inside of the pieces: the
//     longest silence and the largest step between neighbouring samples.
//
//   gapless_figures --heard <recording.raw>
//     What a sound server played (its start and pace are the device's): every
//     silence between the first and the last sound is a gap at a joint, since
//     the tone itself never falls silent. One line per gap with the largest
//     step around it, and the largest step anywhere else.
//
// Recordings are raw 16-bit stereo at 44.1 kHz.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fixtures/tone_joints.h"

using kestrafon::fixtures::kToneRate;
using kestrafon::fixtures::ReadSamples;

namespace {

constexpr int kSilentLevel = 4;
constexpr std::int64_t kAround = kToneRate / 50;  // 20 ms either side of a gap belong to it

double Ms(std::int64_t frames) { return 1000.0 * double(frames) / kToneRate; }

bool Silent(const std::vector<std::int16_t>& s, std::int64_t f) {
  return std::abs(s[2 * f]) <= kSilentLevel && std::abs(s[2 * f + 1]) <= kSilentLevel;
}

int LargestStep(const std::vector<std::int16_t>& s, std::int64_t from, std::int64_t to) {
  int step = 0;
  for (std::int64_t f = std::max<std::int64_t>(from, 1); f < to; ++f)
    for (int c = 0; c < 2; ++c) step = std::max(step, std::abs(s[2 * f + c] - s[2 * (f - 1) + c]));
  return step;
}

// The longest run of silence (2 frames or more) in frames [from, to).
std::int64_t LongestSilence(const std::vector<std::int16_t>& s, std::int64_t from, std::int64_t to) {
  std::int64_t longest = 0, run = 0;
  for (std::int64_t f = from; f < to; ++f) {
    run = Silent(s, f) ? run + 1 : 0;
    if (run >= 2) longest = std::max(longest, run);
  }
  return longest;
}

int Exact(const std::vector<std::int16_t>& s, int argc, char** argv) {
  const auto frames = static_cast<std::int64_t>(s.size() / 2);
  std::int64_t joint = 0, insideFrom = 0, insideSilence = 0;
  int insideStep = 0;
  for (int i = 0; i < argc; ++i) {
    joint += std::atoll(argv[i]);
    const std::int64_t from = std::clamp(joint - kAround, insideFrom, frames);
    const std::int64_t to = std::clamp(joint + kAround, from, frames);
    insideStep = std::max(insideStep, LargestStep(s, insideFrom, from));
    insideSilence = std::max(insideSilence, LongestSilence(s, insideFrom, from));
    insideFrom = to;
    if (i + 1 == argc) break;  // the end of the last piece is no joint
    std::printf("joint %d: silence %.1f ms, step %d\n", i + 1, Ms(LongestSilence(s, from, to)), LargestStep(s, from, to));
  }
  std::printf("inside: silence %.1f ms, step %d\n", Ms(insideSilence), insideStep);
  std::printf("samples: %lld frames for %lld in the pieces\n", static_cast<long long>(frames),
              static_cast<long long>(joint));
  return 0;
}

int Heard(const std::vector<std::int16_t>& s) {
  const auto frames = static_cast<std::int64_t>(s.size() / 2);
  std::int64_t first = 0, last = frames;
  while (first < frames && Silent(s, first)) ++first;
  while (last > first && Silent(s, last - 1)) --last;
  struct Gap {
    std::int64_t start, length;
  };
  std::vector<Gap> gaps;
  for (std::int64_t f = first; f < last;) {
    std::int64_t run = 0;
    while (f + run < last && Silent(s, f + run)) ++run;
    if (run >= 2) gaps.push_back({f, run});
    f += std::max<std::int64_t>(run, 1);
  }
  std::int64_t elsewhereFrom = first;
  int elsewhere = 0;
  for (std::size_t g = 0; g < gaps.size(); ++g) {
    const std::int64_t from = std::max(gaps[g].start - kAround, elsewhereFrom);
    const std::int64_t to = std::min(gaps[g].start + gaps[g].length + kAround, last);
    elsewhere = std::max(elsewhere, LargestStep(s, elsewhereFrom, from));
    std::printf("gap %zu at %.0f ms: silence %.1f ms, step %d\n", g + 1, Ms(gaps[g].start - first),
                Ms(gaps[g].length), LargestStep(s, from, to));
    elsewhereFrom = to;
  }
  elsewhere = std::max(elsewhere, LargestStep(s, elsewhereFrom, last));
  if (gaps.empty()) std::printf("no gap\n");
  std::printf("elsewhere: step %d; sound for %.0f ms\n", elsewhere, Ms(last - first));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool exact = argc >= 5 && std::strcmp(argv[1], "--exact") == 0;
  const bool heard = argc == 3 && std::strcmp(argv[1], "--heard") == 0;
  if (!exact && !heard) {
    std::fprintf(stderr, "usage: %s --exact <recording.raw> <frames> <frames> ... | --heard <recording.raw>\n", argv[0]);
    return 2;
  }
  const std::vector<std::int16_t> samples = ReadSamples(argv[2]);
  if (samples.empty()) {
    std::printf("nothing recorded\n");
    return 1;
  }
  return exact ? Exact(samples, argc - 3, argv + 3) : Heard(samples);
}
