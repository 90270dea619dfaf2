#include "app/app_context.h"

namespace kestrafon {

AppContext::AppContext(platform::Desktop& desktop_, platform::MediaFramework& media, platform::TextRenderer& text_,
                       const SkinImages& skin)
    : desktop(desktop_),
      text(text_),
      timer(desktop_.Ticks()),
      engine(media, *this),
      playList(*this, skin),
      gPlayer(engine, playList),
      player(*this, skin),
      gWindow(player.face(), engine, *this) {
  desktop.Ticks().SetHandler([this] { player.Timer_Timer(); });
  desktop.PlayerHost().SetEventSink(&player);
}

AppContext::~AppContext() {
  // The desktop outlives the context: nothing may reach it afterwards.
  desktop.Ticks().SetHandler(nullptr);
  desktop.PlayerHost().SetEventSink(nullptr);
}

}  // namespace kestrafon
