#pragma once
// Windows' own media controls (the System Media Transport Controls of
// Windows 10 and later): the title the face scrolls and the playback status
// in the system's media overlay, and its play, pause, stop, next and
// previous buttons, which the keyboard's media keys, the volume flyout and
// Bluetooth headsets press, even while the player is in the tray. Fed by the
// same toolkit-free bridge as MPRIS on Linux.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/mpris_player.h"
#include "platform/win32/smtc_abi.h"
#include "seam/desktop.h"

namespace kestrafon::platform::win32 {

class Win32FormHost;

// RoGetActivationFactory, or a stand-in for the tests.
using ActivationFactory = std::function<HRESULT(HSTRING className, REFIID iid, void** factory)>;

class SystemMediaControls final : public mpris::PropertiesSink {
 public:
  using ButtonHandler = std::function<void(seam::MediaKey)>;

  // The controls of `window`, or null where Windows has none (before
  // Windows 10, or Wine): then the caller falls back to hot keys. The Windows
  // Runtime is loaded from combase.dll here, so the program starts where it
  // is missing. Buttons reach `onButton` on the window's thread.
  static std::unique_ptr<SystemMediaControls> ForWindow(Win32FormHost& window, ButtonHandler onButton,
                                                        ActivationFactory activate = {});

  // Over controls already obtained (it takes its own reference).
  SystemMediaControls(smtc::IControls* controls, Win32FormHost& window, ButtonHandler onButton);
  ~SystemMediaControls() override;
  SystemMediaControls(const SystemMediaControls&) = delete;
  SystemMediaControls& operator=(const SystemMediaControls&) = delete;

  // Shows the player's state: the status, the title, which buttons work.
  void Show(const mpris::Snapshot& now);
  void PropertiesChanged(const mpris::Snapshot& now, const std::vector<mpris::Property>& changed) override;

  // The button of the system's overlay as the player's media key; nothing
  // for the buttons the player has no use for.
  static std::optional<seam::MediaKey> KeyForButton(int button);

 private:
  class Handler;

  smtc::IControls* controls_ = nullptr;
  Handler* handler_ = nullptr;
  EventRegistrationToken token_{};
  bool subscribed_ = false;
};

// UTF-8 in and out of the Windows Runtime's strings (through combase.dll;
// empty where it is missing).
HSTRING MakeHString(const std::string& utf8);
std::string ReadHString(HSTRING text);
void FreeHString(HSTRING text);

}  // namespace kestrafon::platform::win32
