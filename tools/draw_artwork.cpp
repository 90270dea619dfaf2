// Draws the skin: the face and playlist backgrounds, the two sprite sheets
// and the icon, as PNG files into a directory.
//
//   draw_artwork ASSET_DIR                      draw the images
//   draw_artwork ASSET_DIR --preview DOC_DIR    also put the skin together from
//                                               the saved images, as the player
//                                               does, into preview PNGs
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>

#include "artwork_face.h"
#include "artwork_icon.h"
#include "artwork_playlist.h"
#include "artwork_preview.h"
#include "artwork_sheets.h"

namespace {

using namespace kestrafon::artwork;

bool Save(const QImage& img, const QString& dir, const char* name) {
  const QString path = QDir(dir).filePath(QString::fromLatin1(name));
  if (!img.save(path, "PNG")) {
    std::fprintf(stderr, "draw_artwork: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s (%dx%d)\n", qPrintable(path), img.width(), img.height());
  return true;
}

bool Load(QImage& img, const QString& dir, const char* name) {
  const QString path = QDir(dir).filePath(QString::fromLatin1(name));
  if (!img.load(path)) {
    std::fprintf(stderr, "draw_artwork: cannot read %s\n", qPrintable(path));
    return false;
  }
  return true;
}

int DrawAssets(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "draw_artwork: cannot create %s\n", qPrintable(dir));
    return 1;
  }
  const Faces faces = DrawFaces();
  const QImage buttons = ButtonSheet(faces);
  const QImage parts = PartsSheet(faces, DrawKnob());
  if (const std::string bad = CheckSheets(faces, buttons, parts); !bad.empty()) {
    std::fprintf(stderr, "draw_artwork: the %s sprite does not match the face\n", bad.c_str());
    return 1;
  }
  const bool ok = Save(faces.released, dir, "face.png") && Save(DrawPlaylist(), dir, "playlist.png") &&
                  Save(buttons, dir, "buttons.png") && Save(parts, dir, "parts.png") &&
                  Save(DrawIcon(), dir, "icon.png");
  return ok ? 0 : 1;
}

int DrawPreviews(const QString& assetDir, const QString& docDir) {
  Skin skin;
  if (!Load(skin.face, assetDir, "face.png") || !Load(skin.playlist, assetDir, "playlist.png") ||
      !Load(skin.buttons, assetDir, "buttons.png") || !Load(skin.parts, assetDir, "parts.png"))
    return 1;
  if (!QDir().mkpath(docDir)) {
    std::fprintf(stderr, "draw_artwork: cannot create %s\n", qPrintable(docDir));
    return 1;
  }
  const bool ok = Save(FacePreview(skin), docDir, "preview-face.png") &&
                  Save(PlaylistPreview(skin), docDir, "preview-playlist.png");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing needs fonts but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 2 && !(args.size() == 4 && args[2] == QStringLiteral("--preview"))) {
    std::fprintf(stderr, "usage: draw_artwork ASSET_DIR [--preview DOC_DIR]\n");
    return 2;
  }
  if (const int rc = DrawAssets(args[1]); rc != 0) return rc;
  return args.size() == 4 ? DrawPreviews(args[1], args[3]) : 0;
}
