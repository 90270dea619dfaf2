#include "platform/winsound/mf_pcm_stream.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>

#include <algorithm>

namespace kestrafon::platform::winsound {
namespace {

using Microsoft::WRL::ComPtr;

constexpr std::int64_t kTicksPerSecond = 10'000'000;

ComPtr<IMFSourceReader> CreateReader(const std::wstring& path) {
  // A byte stream on the path rather than a URL: a "\\?\" long path is a
  // file name to the file calls, not a URL the resolver could parse.
  ComPtr<IMFByteStream> bytes;
  if (FAILED(MFCreateFile(MF_ACCESSMODE_READ, MF_OPENMODE_FAIL_IF_NOT_EXIST, MF_FILEFLAGS_NONE, path.c_str(),
                          bytes.GetAddressOf())))
    return nullptr;
  // The resolver picks a handler by the name's extension; say what it is.
  ComPtr<IMFAttributes> attributes;
  if (SUCCEEDED(bytes.As(&attributes)) && FAILED(attributes->GetItem(MF_BYTESTREAM_ORIGIN_NAME, nullptr)))
    attributes->SetString(MF_BYTESTREAM_ORIGIN_NAME, path.c_str());
  ComPtr<IMFSourceReader> reader;
  if (FAILED(MFCreateSourceReaderFromByteStream(bytes.Get(), nullptr, reader.GetAddressOf()))) return nullptr;
  return reader;
}

std::optional<DWORD> FirstAudioStream(IMFSourceReader& reader) {
  for (DWORD index = 0;; ++index) {
    ComPtr<IMFMediaType> native;
    const HRESULT hr = reader.GetNativeMediaType(index, 0, native.GetAddressOf());
    if (hr == MF_E_NO_MORE_TYPES) continue;  // a stream with nothing to offer
    if (FAILED(hr)) return std::nullopt;      // past the last stream
    GUID major{};
    if (SUCCEEDED(native->GetMajorType(&major)) && major == MFMediaType_Audio) return index;
  }
}

// The native rate, and the native channels up to two: the output plays stereo at most.
bool AskForPcm(IMFSourceReader& reader, DWORD index) {
  ComPtr<IMFMediaType> native;
  UINT32 rate = 0, channels = 0;
  if (FAILED(reader.GetNativeMediaType(index, 0, native.GetAddressOf())) ||
      FAILED(native->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate)) ||
      FAILED(native->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels)) || rate == 0 || channels == 0)
    return false;
  channels = std::min<UINT32>(channels, 2);
  ComPtr<IMFMediaType> pcm;
  return SUCCEEDED(MFCreateMediaType(pcm.GetAddressOf())) &&
         SUCCEEDED(pcm->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio)) &&
         SUCCEEDED(pcm->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, rate)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_AUDIO_NUM_CHANNELS, channels)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_AUDIO_BLOCK_ALIGNMENT, channels * 2)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_AUDIO_AVG_BYTES_PER_SECOND, rate * channels * 2)) &&
         SUCCEEDED(pcm->SetUINT32(MF_MT_ALL_SAMPLES_INDEPENDENT, TRUE)) &&
         SUCCEEDED(reader.SetCurrentMediaType(index, nullptr, pcm.Get()));
}

std::optional<std::int64_t> Duration(IMFSourceReader& reader) {
  PROPVARIANT value;
  PropVariantInit(&value);
  std::optional<std::int64_t> duration;
  if (SUCCEEDED(reader.GetPresentationAttribute(MF_SOURCE_READER_MEDIASOURCE, MF_PD_DURATION, &value)) &&
      value.vt == VT_UI8 && value.uhVal.QuadPart > 0 && value.uhVal.QuadPart < ULONGLONG(INT64_MAX))
    duration = std::int64_t(value.uhVal.QuadPart);
  PropVariantClear(&value);
  return duration;
}

}  // namespace

bool IsRegularFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
    return false;
  // Names such as "NUL" or "\\.\pipe\x" pass the attributes; only an open
  // handle tells them from a file on disk.
  const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return disk;
}

std::optional<MfPcmStream> OpenMfPcmStream(const std::wstring& path) {
  MfPcmStream stream;
  stream.reader = CreateReader(path);
  if (!stream.reader) return std::nullopt;
  const std::optional<DWORD> index = FirstAudioStream(*stream.reader.Get());
  if (!index) return std::nullopt;
  stream.index = *index;
  if (FAILED(stream.reader->SetStreamSelection(MF_SOURCE_READER_ALL_STREAMS, FALSE)) ||
      FAILED(stream.reader->SetStreamSelection(stream.index, TRUE)) || !AskForPcm(*stream.reader.Get(), stream.index))
    return std::nullopt;
  const std::optional<audio::PcmFormat> format = CurrentPcmFormat(*stream.reader.Get(), stream.index);
  const std::optional<std::int64_t> duration = Duration(*stream.reader.Get());
  if (!format || !duration) return std::nullopt;
  stream.format = *format;
  stream.frames = FramesAt(*duration, format->sampleRate);
  return stream;
}

std::optional<audio::PcmFormat> CurrentPcmFormat(IMFSourceReader& reader, DWORD index) {
  ComPtr<IMFMediaType> type;
  GUID subtype{};
  UINT32 bits = 0, rate = 0, channels = 0;
  if (FAILED(reader.GetCurrentMediaType(index, type.GetAddressOf())) ||
      FAILED(type->GetGUID(MF_MT_SUBTYPE, &subtype)) || subtype != MFAudioFormat_PCM ||
      FAILED(type->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits)) || bits != 16 ||
      FAILED(type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate)) || rate == 0 || rate > 1'000'000 ||
      FAILED(type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels)) || channels == 0 || channels > 2)
    return std::nullopt;
  return audio::PcmFormat{int(rate), int(channels)};
}

// In two parts, so that a long file's time times the rate cannot overflow.
std::int64_t FramesAt(std::int64_t time, int sampleRate) {
  return time / kTicksPerSecond * sampleRate + (time % kTicksPerSecond * sampleRate + kTicksPerSecond / 2) / kTicksPerSecond;
}

std::int64_t TimeOfFrame(std::int64_t frame, int sampleRate) {
  return frame / sampleRate * kTicksPerSecond + frame % sampleRate * kTicksPerSecond / sampleRate;
}

}  // namespace kestrafon::platform::winsound
