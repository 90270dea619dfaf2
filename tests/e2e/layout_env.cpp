// Prints the face layout as shell variables for the end-to-end scripts, so
// they click and crop by the same table the program draws and hit-tests by.
#include <cstdio>

#include "windows/face_hit_areas.h"
#include "model/track_list.h"
#include "windows/list_buttons.h"
#include "skin/sheet_map.h"

namespace {

using namespace kestrafon;

void Sprite(const char* name, const skin::Sprite& s) {
  std::printf("%s=\"%d %d %d %d %d %d\"\n", name, s.source.x, s.source.y, s.source.w, s.source.h, s.destX, s.destY);
}

// The middle of a release area: a click there presses and releases the button.
void Click(const char* name, hit::Button button) {
  const hit::Area& a = hit::Of(button).release;
  std::printf("%s=\"%d %d\"\n", name, int((a.x.lo + a.x.hi) / 2), int((a.y.lo + a.y.hi) / 2));
}

void Colour(const char* name, Rgb c) { std::printf("%s=\"#%02X%02X%02X\"\n", name, c.r, c.g, c.b); }

}  // namespace

int main() {
  std::printf("FACE_W=%d\nFACE_H=%d\nLIST_W=%d\nLIST_H=%d\n", skin::kFaceWidth, skin::kFaceHeight, skin::kListWidth,
              skin::kListHeight);
  std::printf("TIME_PANEL=\"%d %d %d %d\"\n", skin::kTimePanel.x, skin::kTimePanel.y, skin::kTimePanel.w,
              skin::kTimePanel.h);
  std::printf("TITLE_PANEL=\"%d %d %d %d\"\n", skin::kTitlePanel.x, skin::kTitlePanel.y, skin::kTitlePanel.w,
              skin::kTitlePanel.h);
  std::printf("TIMEBAR=\"%d %d %d %d\"\n", skin::kTimeBarFillX, skin::kTimeBarFillY, skin::kTimeBarLength,
              skin::kTimeBarFill.h);
  // The volume knob: its sprite on the parts sheet, its row on the face and its travel.
  std::printf("KNOB_SPRITE=\"%d %d %d %d\"\nKNOB_TOP=%d\nKNOB_MIN=%d\nKNOB_MAX=%d\n", skin::kVolumeKnob.x,
              skin::kVolumeKnob.y, skin::kVolumeKnob.w, skin::kVolumeKnob.h, skin::kVolumeKnobTop, skin::kKnobMin,
              skin::kKnobMax);
  Sprite("TRANSPORT_RELEASED", skin::kTransportRowReleased);
  Sprite("PREV_PRESSED", skin::kPrevPressed);
  Sprite("PREV_RELEASED", skin::kPrevReleased);
  Sprite("PAUSE_PRESSED", skin::kPausePressed);
  Sprite("PAUSE_RELEASED", skin::kPauseReleased);
  Sprite("PLAY_PRESSED", skin::kPlayPressed);
  Sprite("PLAY_RELEASED", skin::kPlayReleased);
  Sprite("STOP_PRESSED", skin::kStopPressed);
  Sprite("STOP_RELEASED", skin::kStopReleased);
  Sprite("NEXT_PRESSED", skin::kNextPressed);
  Sprite("NEXT_RELEASED", skin::kNextReleased);
  Click("CLICK_MINIMISE", hit::Button::Minimise);
  Click("CLICK_CLOSE", hit::Button::Close);
  Click("CLICK_PLAYLIST", hit::Button::Playlist);
  Click("CLICK_REPEAT", hit::Button::Repeat);
  Click("CLICK_ONTOP", hit::Button::OnTop);
  Click("CLICK_PREV", hit::Button::Previous);
  Click("CLICK_PAUSE", hit::Button::Pause);
  Click("CLICK_PLAY", hit::Button::Play);
  Click("CLICK_STOP", hit::Button::Stop);
  Click("CLICK_NEXT", hit::Button::Next);
  const int middle = (kListButtonTop + kListButtonBottom) / 2;
  const char* names[] = {"LIST_ADD", "LIST_REMOVE", "LIST_CLEAR", "LIST_SAVE"};
  for (const ListButtonArea& area : kListButtons) {
    std::printf("%s=\"%d %d\"\n", names[int(area.button)], (area.left + area.right) / 2, middle);
  }
  std::printf("ROW_TOP=%d\nROW_HEIGHT=%d\n", skin::kListRows.top, skin::kListRows.step);
  Colour("CURRENT_ROW", kCurrentRowColour);
  Colour("SELECTED_ROW", kSelectedRowColour);
  Colour("PLAIN_ROW", kPlainRowColour);
  return 0;
}
