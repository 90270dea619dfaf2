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
  TextBook texts;  // Japanese; a test may give the player another book
  AppContext ctx{desktop, media, text, skin, texts};

  // Starts the player as the program does: load, then the first resize.
  void Start() {
    ctx.playerWindow().Load();
    ctx.playerWindow().OnResize();
  }
  // Adds tracks the fake framework can open.
  void AddTracks(std::initializer_list<std::pair<const char*, double>> tracks) {
    for (auto& [path, seconds] : tracks) {
      media.files[path] = {seconds};
      ctx.tracks().Append(path);
    }
  }
  const Image& face() { return ctx.playerWindow().face().image(); }
};

}  // namespace kestrafon::fakes
