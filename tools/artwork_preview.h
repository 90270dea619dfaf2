#pragma once
// Previews of the skin as the player puts it together: the face built from
// the background and sprite copies in the order the program uses, text in
// the panels, the window's rounded outline, doubled without smoothing.
#include <QColor>
#include <QImage>
#include <QString>

#include <vector>

#include "artwork_pixels.h"
#include "seam/image.h"
#include "skin/sheet_map.h"

namespace kestrafon::artwork {

struct Skin {
  QImage face, playlist, buttons, parts;
};

inline Image ToCore(const QImage& q) {
  const QImage rgb = q.convertToFormat(QImage::Format_RGB32);
  Image img(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) img.SetPixel(x, y, rgb.pixel(x, y));
  return img;
}

inline QImage ToQt(const Image& img) {
  QImage q(img.width(), img.height(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) q.setPixel(x, y, img.Pixel(x, y));
  return q;
}

// A face being put together with the program's one drawing primitive.
class FaceBuilder {
 public:
  explicit FaceBuilder(const Skin& s)
      : face_(skin::kFaceWidth, skin::kFaceHeight), buttons_(ToCore(s.buttons)), parts_(ToCore(s.parts)) {
    CopyImage(face_, 0, 0, ToCore(s.face));
  }

  FaceBuilder& Copy(const skin::Sprite& s) {
    const Image& sheet = s.sheet == skin::Sheet::Buttons ? buttons_ : parts_;
    CopyRect(face_, s.destX, s.destY, sheet, s.source.x, s.source.y, s.source.w, s.source.h);
    return *this;
  }
  FaceBuilder& Knob(int x) {
    const Rect k = skin::kVolumeKnob;
    CopyRect(face_, x, skin::kVolumeKnobTop, parts_, k.x, k.y, k.w, k.h);
    return *this;
  }
  FaceBuilder& TimeFill(int width) {
    const Rect f = skin::kTimeBarFill;
    CopyRect(face_, skin::kTimeBarFillX, skin::kTimeBarFillY, parts_, f.x, f.y, width, f.h);
    return *this;
  }
  // The start-up face: background, released row, title keys, unlit options, knob.
  FaceBuilder& StartUp() {
    return Copy(skin::kTransportRowReleased)
        .Copy(skin::kTitleButtonsReleased)
        .Copy(skin::kOptionPanelUnlit)
        .Knob(skin::kKnobStart);
  }

  const Image& face() const { return face_; }

 private:
  Image face_, buttons_, parts_;
};

// Writes white text where the face shows that panel text.
inline void WritePanelText(QImage& face, skin::PanelText which, const QString& text) {
  const skin::PanelTextSpot& at = skin::PanelTextOf(which);
  Text(face, text, at.panel.x + at.x, at.panel.y + at.y, Qt::white, 12);
}

// Paints everything outside a window's rounded outline in the desktop colour.
inline void ClipToWindow(QImage& img, int w, int h) {
  const RoundRect region{QRect(0, 0, w, h), skin::kRegionCorner / 2};
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (!region.Contains(x, y)) img.setPixel(x, y, QColor(196, 202, 212).rgb());
}

// Lays images out in a grid on a desktop-coloured sheet and doubles it.
inline QImage Board(const std::vector<QImage>& tiles, int columns) {
  const int gap = 8;
  int tw = 0, th = 0;
  for (const QImage& t : tiles) { tw = std::max(tw, t.width()); th = std::max(th, t.height()); }
  const int rows = (int(tiles.size()) + columns - 1) / columns;
  QImage board = NewImage(gap + columns * (tw + gap), gap + rows * (th + gap), QColor(196, 202, 212));
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    const int col = int(i) % columns, row = int(i) / columns;
    Blit(board, gap + col * (tw + gap), gap + row * (th + gap), tiles[i], 0, 0, tiles[i].width(),
         tiles[i].height());
  }
  return board.scaled(board.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

inline QImage FacePreview(const Skin& s) {
  using namespace skin;
  std::vector<QImage> tiles;

  // 1. As the player first appears.
  tiles.push_back(ToQt(FaceBuilder(s).StartUp().face()));

  // 2. Playing: play held down, the list and on-top lamps lit, half the track
  //    played, the volume turned down, the title and clock showing.
  FaceBuilder playing(s);
  playing.StartUp()
      .Copy(kPlayPressed)
      .Copy(kOnTopLit)
      .Copy(kPlaylistLit)
      .TimeFill(kTimeBarLength / 2)
      .Copy(kVolumeBar)
      .Knob(236);
  QImage q = ToQt(playing.face());
  WritePanelText(q, skin::PanelText::Title, QStringLiteral("Song.mp3"));
  WritePanelText(q, skin::PanelText::Elapsed, QStringLiteral("01:23"));
  WritePanelText(q, skin::PanelText::Total, QStringLiteral("03:45"));
  tiles.push_back(q);

  // 3. Every key held down at once, repeat lit, the time bar full, knob at the far left.
  FaceBuilder down(s);
  down.StartUp()
      .Copy(kPrevPressed)
      .Copy(kPausePressed)
      .Copy(kStopPressed)
      .Copy(kNextPressed)
      .Copy(kMinimisePressed)
      .Copy(kClosePressed)
      .Copy(kRepeatLit)
      .TimeFill(kTimeBarLength)
      .Copy(kVolumeBar)
      .Knob(kKnobMin);
  q = ToQt(down.face());
  WritePanelText(q, skin::PanelText::Title, QString::fromUtf8("夜明けのうた.mp3"));
  WritePanelText(q, skin::PanelText::Elapsed, QStringLiteral("03:45"));
  WritePanelText(q, skin::PanelText::Total, QStringLiteral("03:45"));
  tiles.push_back(q);

  // 4. After clicks: each key released by its own copy, every lamp switched
  //    on and off again, the time bar cleared, knob at the far right.
  FaceBuilder after(s);
  after.StartUp()
      .Copy(kPrevPressed).Copy(kPrevReleased)
      .Copy(kPausePressed).Copy(kPauseReleased)
      .Copy(kPlayPressed).Copy(kPlayReleased)
      .Copy(kStopPressed).Copy(kStopReleased)
      .Copy(kNextPressed).Copy(kNextReleased)
      .Copy(kMinimisePressed).Copy(kTitleButtonsReleased)
      .Copy(kOnTopLit).Copy(kOnTopUnlit)
      .Copy(kPlaylistLit).Copy(kPlaylistUnlit)
      .Copy(kRepeatLit).Copy(kRepeatUnlit)
      .TimeFill(kTimeBarLength)
      .Copy(kTimeBarTrack)
      .Copy(kVolumeBar)
      .Knob(kKnobMax);
  tiles.push_back(ToQt(after.face()));

  for (QImage& t : tiles) ClipToWindow(t, kFaceWidth, kFaceHeight);
  return Board(tiles, 2);
}

inline QImage PlaylistPreview(const Skin& s) {
  using namespace skin;
  struct Row {
    const char* text;
    QColor colour;
  };
  auto qt = [](RowColour c) {
    const Rgb& rgb = RowColourOf(c);
    return QColor(rgb.r, rgb.g, rgb.b);
  };
  const QColor white = qt(RowColour::Plain), current = qt(RowColour::Current), selected = qt(RowColour::Selected);
  const Row rows[] = {
      {"Morning Light.mp3", white},
      {"夜明けのうた.mp3", white},
      {"Song.mp3", current},
      {"Blue Hour (live).mp3", white},
      {"さくら通り.mp3", selected},
      {"Long Distance Call fr~.mp3", white},
      {"Tokyo Drift Radio.mp3", white},
      {"雨のち晴れ、そして~.mp3", white},
      {"Interlude.mp3", white},
      {"Night Drive.mp3", white},
      {"Kestrel.mp3", white},
      {"オルゴール.mp3", white},
      {"Outro.mp3", white},
  };
  QImage list(kListWidth, kListHeight, QImage::Format_RGB32);
  list.fill(Qt::black);
  Blit(list, 0, 0, s.playlist, 0, 0, s.playlist.width(), s.playlist.height());
  int y = kListRows.top;
  for (const Row& r : rows) {
    Text(list, QString::fromUtf8(r.text), kListRows.x, y, r.colour, 12);
    y += kListRows.step;
  }
  QImage empty(kListWidth, kListHeight, QImage::Format_RGB32);
  empty.fill(Qt::black);
  Blit(empty, 0, 0, s.playlist, 0, 0, s.playlist.width(), s.playlist.height());
  ClipToWindow(list, kListWidth, kListHeight);
  ClipToWindow(empty, kListWidth, kListHeight);
  return Board({list, empty}, 2);
}

}  // namespace kestrafon::artwork
