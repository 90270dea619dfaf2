#include "windows/playlist_window.h"

namespace kestrafon {

using namespace skin;

PlaylistWindow::~PlaylistWindow() = default;

void PlaylistWindow::Load() {
  if (Loaded()) return;
  face_ = std::make_unique<Face>(kListWidth, kListHeight, skin_.playlist, skin_.buttons, skin_.parts);
  host_ = desktop_.CreatePlaylistHost();
  if (!host_) {
    face_.reset();
    return;
  }
  host_->SetEventSink(this);
  // Flush against the player's right edge, tops aligned.
  seam::FormHost& player = desktop_.PlayerHost();
  const seam::Point at = player.Position();
  host_->Move({at.x + player.OuterSize().x, at.y});
  tracks_.PaintRows();
}

void PlaylistWindow::Show() {
  Load();
  if (host_) host_->SetVisible(true);
}

void PlaylistWindow::SetVisible(bool visible) {
  if (host_) host_->SetVisible(visible);
}

void PlaylistWindow::Unload() {
  if (!Loaded()) return;
  host_->SetEventSink(nullptr);
  host_->SetVisible(false);
  host_.reset();
  face_.reset();
}

void PlaylistWindow::OnResize() {
  if (!host_) return;
  const seam::Point size = host_->OuterSize();
  host_->SetRoundedRegion(size.x, size.y, kRegionCorner, kRegionCorner);
}

void PlaylistWindow::ClearRows() {
  if (!Loaded()) {
    Load();  // its load paints the rows once; the caller paints them again
    if (!Loaded()) return;
  }
  face_->Put(skin_.playlist, 0, 0);
  Present();
}

void PlaylistWindow::DrawRow(int x, int y, std::string_view text, Rgb color) {
  if (!face_) return;
  text_.DrawText(face_->pixels(), x, y, text, color);
  face_->MarkDirty({0, y, kListWidth, kListRowHeight});
  Present();
}

void PlaylistWindow::Present() {
  const Rect dirty = face_->TakeDirty();
  if (host_ && dirty.w > 0 && dirty.h > 0) host_->Present(face_->image(), dirty);
}

}  // namespace kestrafon
