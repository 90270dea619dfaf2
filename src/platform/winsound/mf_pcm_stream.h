#pragma once
// A Source Reader readied for one file: its first audio stream decoded to
// 16-bit PCM, with the length the file declares.
#include <windows.h>
#include <wrl/client.h>

// mfreadwrite.h needs what mfidl.h declares, and does not include it.
#include <mfidl.h>

#include <mfreadwrite.h>

#include <cstdint>
#include <optional>
#include <string>

#include "audio/pcm_source.h"

namespace kestrafon::platform::winsound {

struct MfPcmStream {
  Microsoft::WRL::ComPtr<IMFSourceReader> reader;
  DWORD index = 0;  // the stream's number among the file's streams
  audio::PcmFormat format;
  std::int64_t frames = 0;
};

// Only an ordinary file on disk: a folder, a pipe or a device would make the
// reader fail, or wait for data that never comes.
bool IsRegularFile(const std::wstring& path);

// Empty when the file cannot be opened, has no audio, no decoder for it or no
// length. Media Foundation must be started.
std::optional<MfPcmStream> OpenMfPcmStream(const std::wstring& path);

// The reader's output type, if it is still the 16-bit PCM asked for.
std::optional<audio::PcmFormat> CurrentPcmFormat(IMFSourceReader& reader, DWORD index);

// Media Foundation counts time in 100 ns units.
std::int64_t FramesAt(std::int64_t time, int sampleRate);  // to the nearest frame
std::int64_t TimeOfFrame(std::int64_t frame, int sampleRate);  // at or just before it

}  // namespace kestrafon::platform::winsound
