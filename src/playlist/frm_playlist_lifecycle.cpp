#include "playlist/frm_playlist.h"

namespace kestrafon {

using namespace skin;

frmplayList::~frmplayList() = default;

void frmplayList::Load() {
  if (Loaded()) return;
  face_ = std::make_unique<Face>(kListWidth, kListHeight, skin_.playlist, skin_.buttons, skin_.parts);
  host_ = desktop_.CreatePlaylistHost();
  if (!host_) {
    face_.reset();
    return;
  }
  host_->SetEventSink(this);
  Form_Load();
}

void frmplayList::Show() {
  Load();
  if (host_) host_->SetVisible(true);
}

void frmplayList::SetVisible(bool visible) {
  if (host_) host_->SetVisible(visible);
}

void frmplayList::Unload() {
  if (!Loaded()) return;
  host_->SetEventSink(nullptr);
  host_->SetVisible(false);
  host_.reset();
  face_.reset();
}

void frmplayList::Form_Load() {
  // Flush against the player's right edge, tops aligned.
  const platform::Point at = playerWindow_.PlayerPosition();
  host_->Move({at.x + playerWindow_.PlayerOuterSize().x, at.y});
  player_.SetPlayList();
}

void frmplayList::Form_Resize() {
  if (!host_) return;
  const platform::Point size = host_->OuterSize();
  host_->SetRoundedRegion(size.x, size.y, kRegionCorner, kRegionCorner);
}

void frmplayList::Cls() {
  if (!Loaded()) {
    Load();  // its load paints the rows once; the caller paints them again
    if (!Loaded()) return;
  }
  face_->Put(skin_.playlist, 0, 0);
  Present();
}

void frmplayList::TextOut(int x, int y, std::string_view text, Rgb color) {
  if (!face_) return;
  text_.DrawText(face_->pixels(), x, y, text, color);
  face_->MarkDirty({0, y, kListWidth, 16});
  Present();
}

void frmplayList::Present() {
  const Rect dirty = face_->TakeDirty();
  if (host_ && dirty.w > 0 && dirty.h > 0) host_->Present(face_->image(), dirty);
}

}  // namespace kestrafon
