#include "platform/qt/qt_skin_loader.h"

#include <QImageReader>
#include <algorithm>
#include <cstdint>

// The resources live in a static library: register them before the first read.
static void RegisterBuiltInArtwork() { Q_INIT_RESOURCE(assets); }

namespace kestrafon::platform::qt {

namespace {

// Read by Qt's own PNG reader: without a format to go by, Qt loads every
// image format plugin to ask each whether it reads the file.
Image LoadBuiltIn(const char* name) {
  QImageReader reader(QStringLiteral(":/assets/") + QLatin1String(name), "png");
  reader.setAutoDetectImageFormat(false);
  return ToCoreImage(reader.read());
}

}  // namespace

Image ToCoreImage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  Image core(argb.width(), argb.height());
  for (int y = 0; y < argb.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(argb.constScanLine(y));
    std::copy_n(row, argb.width(), core.data() + std::size_t(y) * std::size_t(argb.width()));
  }
  return core;
}

SkinImages LoadSkinImages() {
  RegisterBuiltInArtwork();
  return LoadBuiltInImages(&LoadBuiltIn);
}

}  // namespace kestrafon::platform::qt
