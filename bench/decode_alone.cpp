// What a gapless player must play, for bench/gapless.sh under Wine: each MP3
// decoded on its own by the Windows build's MP3 source, one after another,
// at the volume a fresh player's knob gives, as raw 16-bit samples.
//
//   decode_alone OUT.raw PIECE.mp3...
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "audio/stream_graph.h"
#include "control/control_surface.h"
#include "skin/layout.h"
#include "os/win32/wide_text.h"
#include "platform/winsound/mp3_acm_source.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: decode_alone OUT.raw PIECE.mp3...\n");
    return 2;
  }
  FILE* out = _wfopen(argv[1], L"wb");
  if (!out) return 1;
  const double gain = kestrafon::audio::GainOfVolume(kestrafon::VolumeOfLevel(kestrafon::skin::LevelOfKnob(kestrafon::skin::kKnobStart)));
  for (int i = 2; i < argc; ++i) {
    auto source = kestrafon::platform::winsound::OpenMp3Source(kestrafon::os::Narrow(argv[i]));
    if (!source) return 1;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(source->Frames() * source->Format().channels));
    const std::size_t frames = source->Read(samples.data(), static_cast<std::size_t>(source->Frames()));
    // Scaled as the stream scales what it writes.
    for (std::int16_t& s : samples) s = static_cast<std::int16_t>(std::lround(s * gain));
    std::fwrite(samples.data(), sizeof(std::int16_t), frames * source->Format().channels, out);
  }
  std::fclose(out);
  return 0;
}
