#include "app/app_context.h"

namespace kestrafon {

AppContext::AppContext(seam::Desktop& desktop, seam::MediaFramework& media, seam::TextRenderer& text,
                       const SkinImages& skin, const TextBook& texts)
    : desktop_(desktop),
      texts_(texts),
      engine_(media),
      playlist_(desktop, text, tracks_, control_, skin, texts),
      tracks_(playlist_),
      player_(desktop, text, tracks_, lamps_, control_, playlist_, skin),
      lamps_(player_.face(), *this),
      timeBar_(player_.face()),
      control_(engine_, tracks_, timeBar_, player_, desktop.Ticks(), desktop.Dialogs(), texts) {
  desktop_.Ticks().SetHandler([this] { player_.OnTick(); });
  desktop_.PlayerHost().SetEventSink(&player_);
}

AppContext::~AppContext() {
  // The desktop outlives the context: nothing may reach it afterwards.
  desktop_.Ticks().SetHandler(nullptr);
  desktop_.PlayerHost().SetEventSink(nullptr);
}

}  // namespace kestrafon
