#pragma once
// A whole player on fakes: a fresh context for every test.
#include <memory>

#include "app/app_context.h"
#include "fakes/fake_platform.h"

namespace kestrafon::fakes {

struct TestApp {
  SkinImages skin = CoordinateSkin();
  FakeDesktop desktop;
  FakeMediaFramework media;
  RecordingTextRenderer text;
  AppContext ctx{desktop, media, text, skin};

  // Starts the player as the program does: load, then the first resize.
  void Start() {
    ctx.player().Form_Load();
    ctx.player().Form_Resize();
  }
  // Adds tracks the fake framework can open.
  void AddTracks(std::initializer_list<std::pair<const char*, double>> tracks) {
    for (auto& [path, seconds] : tracks) {
      media.files[path] = {seconds};
      ctx.gPlayer().AryMp3File(path);
    }
  }
  const Image& face() { return ctx.player().face().image(); }
};

}  // namespace kestrafon::fakes
