#pragma once
// The playlist window: the rows of the one track list, the Add, Remove,
// Clear and Save buttons painted on its face, the keys that move the
// selection and play a track, and the two file dialogs.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "control/control_surface.h"
#include "model/cls_player.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/text_renderer.h"
#include "playlist/player_window_link.h"
#include "skin/face.h"

namespace kestrafon {

class frmplayList : public PlaylistCanvas, public platform::FormEventSink {
 public:
  frmplayList(platform::Desktop& desktop, platform::TextRenderer& text, clsPlayer& player, ControlSurface& control,
              PlayerWindowLink& playerWindow, const SkinImages& skin)
      : desktop_(desktop), text_(text), player_(player), control_(control), playerWindow_(playerWindow), skin_(skin) {}
  ~frmplayList() override;

  bool Loaded() const { return host_ != nullptr; }
  // Loads the window (hidden) when it is not loaded; Form_Load runs then.
  void Load();
  // Shows the window, loading it first when needed.
  void Show();
  void SetVisible(bool visible);
  // Destroys the window; nothing when it is not loaded.
  void Unload();

  void Form_Load();
  void Form_Resize();
  void Form_MouseDown(int button, double x, double y);
  void Form_KeyDown(platform::Key key);

  void RemoveSelectedEntry();
  void ClearList();
  void SaveList();
  void AddMp3Files();
  std::string ShowOpenDialog();
  std::string ShowSaveDialog();
  const std::string& lastDir() const { return lastDir_; }

  // Row painting for the player state.
  void Cls() override;
  void TextOut(int x, int y, std::string_view text, Rgb color) override;

  platform::FormHost* host() { return host_.get(); }
  const Image* faceImage() const { return face_ ? &face_->image() : nullptr; }

  // Window events.
  void OnMouseDown(int button, double x, double y) override { Form_MouseDown(button, x, y); }
  void OnMouseMove(int, double, double) override {}
  void OnMouseUp(int, double, double) override {}
  void OnKeyDown(platform::Key key) override { Form_KeyDown(key); }
  void OnResize() override { Form_Resize(); }
  void OnCloseRequested() override {}

 private:
  void Present();

  platform::Desktop& desktop_;
  platform::TextRenderer& text_;
  clsPlayer& player_;
  ControlSurface& control_;
  PlayerWindowLink& playerWindow_;
  const SkinImages& skin_;
  std::unique_ptr<platform::FormHost> host_;
  std::unique_ptr<Face> face_;
  std::string lastDir_;
};

}  // namespace kestrafon
