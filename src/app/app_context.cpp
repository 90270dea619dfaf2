#include "app/app_context.h"

namespace kestrafon {

AppContext::AppContext(platform::Desktop& desktop, platform::MediaFramework& media, platform::TextRenderer& text,
                       const SkinImages& skin)
    : desktop_(desktop),
      engine_(media, *this),
      playList_(desktop, text, gPlayer_, control_, *this, skin),
      gPlayer_(engine_, playList_),
      player_(desktop, text, gPlayer_, gWindow_, control_, *this, skin),
      gWindow_(player_.face(), engine_, *this),
      control_(engine_, gPlayer_, gWindow_, player_, desktop.Ticks()) {
  desktop_.Ticks().SetHandler([this] { player_.Timer_Timer(); });
  desktop_.PlayerHost().SetEventSink(&player_);
}

AppContext::~AppContext() {
  // The desktop outlives the context: nothing may reach it afterwards.
  desktop_.Ticks().SetHandler(nullptr);
  desktop_.PlayerHost().SetEventSink(nullptr);
}

}  // namespace kestrafon
