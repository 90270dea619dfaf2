#include "platform/win32/win32_skin_loader.h"

#include <wincodec.h>
#include <windows.h>

#include <string>


namespace kestrafon::platform::win32 {
namespace {

template <class T>
void Release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

// The resource script names each PNG after its file name ("face.png" is
// IMAGE_FACE).
std::wstring ResourceName(std::string_view file) {
  std::wstring name = L"IMAGE_";
  for (char c : file.substr(0, file.find('.'))) name.push_back(wchar_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  return name;
}

std::string_view ResourceBytes(const std::wstring& name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  return data ? std::string_view(static_cast<const char*>(data), SizeofResource(module, found)) : std::string_view();
}

}  // namespace

Image DecodeImage(std::string_view bytes) {
  Image result;
  if (bytes.empty()) return result;
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* converted = nullptr;
  UINT w = 0, h = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                             DWORD(bytes.size()))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      // 32-bit BGRA in memory is the core's 0xAARRGGBB.
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
      SUCCEEDED(converted->GetSize(&w, &h)) && w > 0 && h > 0 && w < 16384 && h < 16384) {
    Image image(static_cast<int>(w), static_cast<int>(h));
    if (SUCCEEDED(converted->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(image.data()))))
      result = std::move(image);
  }
  Release(converted);
  Release(frame);
  Release(decoder);
  Release(stream);
  Release(factory);
  return result;
}

SkinImages LoadSkinImages() {
  return LoadBuiltInImages([](const char* file) { return DecodeImage(ResourceBytes(ResourceName(file))); });
}

}  // namespace kestrafon::platform::win32
