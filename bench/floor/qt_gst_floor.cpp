// The floor for the player's cost: one plain Qt window and a GStreamer
// playbin playing one file into the default audio sink. Nothing else.
//   qt_gst_floor [file]   (no file: only the window, for start-up and idle memory)
// Prints "floor: window painted" to stderr once the window is first painted.
#include <gst/gst.h>

#include <QApplication>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class FloorWindow final : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    if (painted_) return;
    painted_ = true;
    std::fputs("floor: window painted\n", stderr);
    std::fflush(stderr);
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  FloorWindow window;
  window.setWindowTitle(QStringLiteral("floor"));
  window.resize(303, 202);
  window.show();

  GstElement* playbin = nullptr;
  if (argc > 1) {
    gst_init(nullptr, nullptr);
    playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) return 1;
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath())
                               .toEncoded();
    g_object_set(playbin, "uri", uri.constData(), nullptr);
    // Nobody reads the bus: drop its messages rather than let them pile up.
    GstBus* bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, [](GstBus*, GstMessage*, gpointer) { return GST_BUS_DROP; }, nullptr, nullptr);
    gst_object_unref(bus);
    gst_element_set_state(playbin, GST_STATE_PLAYING);
  }
  const int result = QApplication::exec();
  if (playbin) {
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
  }
  return result;
}
