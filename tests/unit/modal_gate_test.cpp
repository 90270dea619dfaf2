// Commands from outside the windows never run inside a modal loop or in the
// middle of one another, and none is lost or run out of order.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "control/modal_gate.h"

namespace kestrafon {
namespace {

TEST(ModalGate, HoldsCommandsUntilTheLoopsEndAndTheStackIsBackAtTheEventLoop) {
  std::string ran;
  int wakes = 0;
  ModalGate gate([&] { ++wakes; });
  gate.Run([&] { ran += "a"; });
  EXPECT_EQ(ran, "a") << "nothing in the way: at once";

  {
    ModalGate::Loop dialog(&gate);
    {
      ModalGate::Loop box(&gate);
      gate.Run([&] { ran += "b"; });
    }
    gate.Run([&] { ran += "c"; });
    EXPECT_EQ(wakes, 0);
  }
  EXPECT_EQ(ran, "a") << "the dialog's caller is still mid-command";
  EXPECT_EQ(wakes, 1);
  gate.Drain();
  EXPECT_EQ(ran, "abc");
}

TEST(ModalGate, ACommandThatOpensALoopIsNotInterruptedByTheNextOne) {
  std::string ran;
  ModalGate gate([] {});
  std::optional<ModalGate::Loop> dialog(std::in_place, &gate);
  gate.Run([&] {
    ran += "[";
    ModalGate::Loop box(&gate);  // a message box: the next command arrives meanwhile
    gate.Run([&] { ran += "late"; });
    ran += "]";
  });
  gate.Run([&] { ran += "next"; });
  dialog.reset();
  gate.Drain();
  EXPECT_EQ(ran, "[]nextlate");
}

}  // namespace
}  // namespace kestrafon
