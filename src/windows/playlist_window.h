#pragma once
// The playlist window: the rows of the one track list, the Add, Remove,
// Clear and Save buttons painted on its face, the keys that move the
// selection and play an entry, and the two file dialogs. It is loaded on
// demand and sits flush against the player window's right edge.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "control/control_surface.h"
#include "model/track_list.h"
#include "seam/desktop.h"
#include "seam/form_host.h"
#include "seam/text_renderer.h"
#include "skin/face.h"

namespace kestrafon {

class PlaylistWindow : public PlaylistCanvas, public seam::FormEventSink {
 public:
  // Its dialogs and messages speak the words of `texts`.
  PlaylistWindow(seam::Desktop& desktop, seam::TextRenderer& text, TrackList& tracks,
                 ControlSurface& control, const SkinImages& skin, const TextBook& texts)
      : desktop_(desktop), text_(text), tracks_(tracks), control_(control), skin_(skin), texts_(texts) {}
  ~PlaylistWindow() override;

  bool Loaded() const { return host_ != nullptr; }
  // Loads the window (hidden) when it is not loaded: it docks beside the
  // player and paints its rows.
  void Load();
  // Shows the window, loading it first when needed.
  void Show();
  void SetVisible(bool visible);
  // Destroys the window; nothing when it is not loaded.
  void Unload();

  // The four buttons.
  void AddFromDialog();
  void RemoveSelectedEntry();
  void ClearList();
  void SaveList();
  // The dialogs: the files chosen (empty when cancelled), the file to save
  // to (empty when cancelled). Each remembers the folder for the next one.
  std::vector<std::string> ShowOpenDialog();
  std::string ShowSaveDialog();
  const std::string& lastDir() const { return lastDir_; }

  // Row painting for the track list.
  void ClearRows() override;
  void DrawRow(int x, int y, std::string_view text, Rgb color) override;

  seam::FormHost* host() { return host_.get(); }
  const Image* faceImage() const { return face_ ? &face_->image() : nullptr; }

  // Window events.
  void OnMouseDown(int button, double x, double y) override;
  void OnMouseMove(int, double, double) override {}
  void OnMouseUp(int, double, double) override {}
  void OnKeyDown(seam::Key key) override;
  void OnResize() override;
  // Alt+F4 or the window menu: the window goes, the playlist switch stays as it is.
  void OnCloseRequested() override { Unload(); }

 private:
  void Present();

  seam::Desktop& desktop_;
  seam::TextRenderer& text_;
  TrackList& tracks_;
  ControlSurface& control_;
  const SkinImages& skin_;
  const TextBook& texts_;
  std::unique_ptr<seam::FormHost> host_;
  std::unique_ptr<Face> face_;
  std::string lastDir_;
};

}  // namespace kestrafon
