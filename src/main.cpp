// Kestrafon: wires the Qt desktop, the GStreamer engine and the skin to the
// core, shows the player and runs the event loop.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "app/app_context.h"
#include "platform/gstreamer/gst_media_factory.h"
#include "platform/lazy_media_framework.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_skin_loader.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/qt/qt_translations.h"

namespace {

using namespace kestrafon;

bool HaveDisplay() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QImage ToQImage(const Image& image) {
  QImage copy(reinterpret_cast<const uchar*>(image.data()), image.width(), image.height(), image.width() * 4,
              QImage::Format_ARGB32);
  return copy.copy();
}

// Test and benchmark hooks: a line when the first frame is on screen, and
// the presented face written to a file.
std::function<void(const QImage&)> FirstPaintHook() {
  const bool trace = qEnvironmentVariableIntValue("KESTRAFON_TRACE_STARTUP") != 0;
  const QString dumpPath = qEnvironmentVariable("KESTRAFON_DUMP_FACE");
  if (!trace && dumpPath.isEmpty()) return {};
  return [trace, dumpPath](const QImage& face) {
    if (!dumpPath.isEmpty()) face.save(dumpPath, "PNG");
    if (trace) {
      std::fputs("kestrafon: first frame presented\n", stderr);
      std::fflush(stderr);
    }
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (!HaveDisplay()) {
    std::fputs("kestrafon: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session\n",
               stderr);
    return 2;
  }
  // Absolute window positions, the move loop and always-on-top need X11; a
  // Wayland session provides it through XWayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  // Whole scale factors only, so the pixel art stays crisp.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrafon"));
  QGuiApplication::setDesktopFileName(QStringLiteral("kestrafon"));
  // The player decides when the program ends: a player hidden in the tray is
  // not a reason to quit.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::qt::InstallQtTranslations(app);

  const SkinImages skin = platform::qt::LoadSkinImages();
  const QIcon icon(QPixmap::fromImage(ToQImage(skin.icon)));
  QApplication::setWindowIcon(icon);
  platform::qt::QtTextRenderer text;
  // GStreamer starts with the first track, not before the face is shown.
  platform::LazyMediaFramework media(&MakeGstMediaFramework);
  platform::qt::QtDesktop desktop({icon, FirstPaintHook()});

  int result = 0;
  {
    AppContext ctx(desktop, media, text, skin);
    ctx.player().Form_Load();
    desktop.PlayerHost().SetVisible(true);
    result = QApplication::exec();
  }
  // Windows unloaded on the way out are deleted here, not leaked.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return result;
}
