// The text renderer and the built-in artwork, on the offscreen platform.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QImage>
#include <QLocale>

#include "platform/qt/qt_skin_loader.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/qt/qt_translations.h"
#include "skin/sheet_map.h"

namespace {

using namespace kestrafon;
using namespace kestrafon::platform::qt;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr Rgb kWhite{255, 255, 255};

struct Bounds {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, count = 0;
};

Bounds Changed(const Image& image, std::uint32_t background) {
  Bounds b;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.Pixel(x, y) == background) continue;
      b.left = std::min(b.left, x);
      b.right = std::max(b.right, x);
      b.top = std::min(b.top, y);
      b.bottom = std::max(b.bottom, y);
      ++b.count;
    }
  }
  return b;
}

TEST(TextRenderer, DrawsInTheGivenColourInsideATwelvePixelCellFromItsTopLeft) {
  QtTextRenderer text;
  Image panel(200, 60, kBlack);
  text.DrawText(panel, 10, 20, "00:42", {140, 170, 255});
  const Bounds b = Changed(panel, kBlack);
  ASSERT_GT(b.count, 10);
  EXPECT_GE(b.left, 10);
  EXPECT_GE(b.top, 20);
  EXPECT_LT(b.bottom, 20 + 12 + 1);
  EXPECT_LT(b.right, 10 + 5 * 12);
  // Crisp glyphs: every changed pixel is the colour itself.
  for (int y = b.top; y <= b.bottom; ++y) {
    for (int x = b.left; x <= b.right; ++x) {
      const std::uint32_t p = panel.Pixel(x, y);
      EXPECT_TRUE(p == kBlack || p == (Rgb{140, 170, 255}.Argb())) << x << "," << y;
    }
  }
}

TEST(TextRenderer, RowsTwelvePixelsApartNeverOverlap) {
  QtTextRenderer text;
  Image upper(120, 40, kBlack), lower(120, 40, kBlack);
  text.DrawText(upper, 0, 0, "gjpqy漢字ÅÉ", kWhite);
  text.DrawText(lower, 0, 12, "ÅÉ漢字gjpqy", kWhite);
  const Bounds a = Changed(upper, kBlack), b = Changed(lower, kBlack);
  ASSERT_GT(a.count, 0);
  ASSERT_GT(b.count, 0);
  EXPECT_LT(a.bottom, 12);
  EXPECT_GE(b.top, 12);
}

TEST(TextRenderer, JapaneseNamesGetTheirOwnGlyphs) {
  QtTextRenderer text;
  Image one(120, 16, kBlack), other(120, 16, kBlack);
  text.DrawText(one, 0, 0, "春の海.mp3", kWhite);
  text.DrawText(other, 0, 0, "秋の空.mp3", kWhite);
  EXPECT_GT(Changed(one, kBlack).count, 0);
  EXPECT_NE(one, other);  // not the same box for every character
}

TEST(TextRenderer, TextOutsideTheImageIsLeftOut) {
  QtTextRenderer text;
  Image small(20, 10, kBlack);
  text.DrawText(small, -30, -5, "far away to the left", kWhite);
  text.DrawText(small, 15, 5, "spills over", kWhite);
  text.DrawText(small, 500, 500, "nowhere", kWhite);
  text.DrawText(small, 0, 0, "", kWhite);
  Image empty;
  text.DrawText(empty, 0, 0, "nothing to draw on", kWhite);
  EXPECT_EQ(small.width(), 20);
  EXPECT_GT(Changed(small, kBlack).count, 0);  // the part that falls inside is drawn
}

TEST(BuiltInArtwork, LoadsEveryImageAtItsSizeWithTheFilesPixels) {
  const SkinImages skin = LoadSkinImages();
  EXPECT_EQ(skin.face.width(), 302);
  EXPECT_EQ(skin.face.height(), 202);
  EXPECT_EQ(skin.playlist.width(), 200);
  EXPECT_EQ(skin.playlist.height(), 202);
  EXPECT_EQ(skin.buttons.width(), 260);
  EXPECT_EQ(skin.buttons.height(), 70);
  EXPECT_EQ(skin.parts.width(), 135);
  EXPECT_EQ(skin.parts.height(), 261);
  EXPECT_EQ(skin.icon.width(), 32);
  EXPECT_EQ(skin.icon.height(), 32);

  const QImage file = QImage(QStringLiteral(KESTRAFON_ASSET_DIR "/buttons.png")).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(file.isNull());
  for (const QPoint p : {QPoint(0, 0), QPoint(120, 10), QPoint(240, 50), QPoint(259, 69)}) {
    EXPECT_EQ(skin.buttons.Pixel(p.x(), p.y()), file.pixel(p)) << p.x() << "," << p.y();
  }
  EXPECT_TRUE(ToCoreImage(QImage()).empty());
}

TEST(QtTranslations, FileDialogsSpeakJapaneseOnAJapaneseDesktop) {
  EXPECT_FALSE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::English)));
  EXPECT_FALSE(InstallQtTranslations(*QCoreApplication::instance(), QLocale::c()));
  ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Japanese, QLocale::Japan)));
  EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").contains(QStringLiteral("ファイル名")));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
}

}  // namespace
