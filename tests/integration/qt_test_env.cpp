// One QApplication for every integration test, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override {
    // Windows unloaded by the tests are deleted here, not leaked.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app_.reset();
  }

 private:
  int argc_ = 1;
  char name_[16] = "kestrafon-test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
