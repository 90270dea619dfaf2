// Kestrafon on Linux: reads the command line, builds the Qt desktop and the
// GStreamer engine, starts the player and runs the event loop.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/start_player.h"
#include "control/command_line.h"
#include "control/settings_file.h"
#include "model/replay_gain.h"
#include "model/local_files.h"
#include "control/mpris_player.h"
#include "platform/gstreamer/gst_media_factory.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_mpris.h"
#include "platform/qt/qt_skin_loader.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/qt/qt_texts.h"
#include "platform/qt/qt_translations.h"
#include "seam/lazy_media_framework.h"

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

// Options first: --help and --version work without a display. Returns the
// exit status when the program is done already.
std::optional<int> HandleOptions(const CommandLine& line, const TextBook& texts) {
  switch (line.action) {
    case CommandLine::Action::Run: return std::nullopt;
    case CommandLine::Action::Help: std::fputs(UsageText(texts, "kestrafon").c_str(), stdout); return 0;
    case CommandLine::Action::Version: std::fputs(VersionText(KESTRAFON_VERSION).c_str(), stdout); return 0;
    case CommandLine::Action::BadOption: break;
  }
  std::fprintf(stderr, "kestrafon: %s\n", texts.Say(UiText::UnknownOption, {line.badOption}).c_str());
  std::fputs(UsageText(texts, "kestrafon").c_str(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  const TextBook texts = platform::qt::QtTextBook();
  if (const std::optional<int> done = HandleOptions(line, texts)) return *done;
  const CheckedFiles files = CheckFiles(line.files, os::CurrentFolder());
  for (const SkippedFile& skipped : files.skipped) std::fprintf(stderr, "%s\n", SkippedLine(skipped).c_str());

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
  // The arguments are ours (files); Qt gets only the program name.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrafon"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrafon.Kestrafon"));
  // The player decides when the program ends: a player hidden in the tray is
  // not a reason to quit.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::qt::InstallQtTranslations(app, platform::qt::PlayerLocale());

  // One player per session: a player already on the bus takes the files
  // (or comes to the front) and this launch ends.
  QString busProblem;
  const platform::qt::HandOverResult handOver = platform::qt::HandOverToRunningPlayer(files.paths, line.enqueue, &busProblem);
  if (handOver == platform::qt::HandOverResult::Handed) return 0;

  const SkinImages skin = platform::qt::LoadSkinImages();
  const QIcon icon(QPixmap::fromImage(ToQImage(skin.icon)));
  QApplication::setWindowIcon(icon);
  platform::qt::QtTextRenderer text;
  const LoadedSettings settings = LoadPlayerSettings(line, texts);
  if (!settings.problem.empty()) std::fprintf(stderr, "kestrafon: %s\n", settings.problem.c_str());
  // GStreamer starts with the first track, not before the face is shown.
  seam::LazyMediaFramework media(
      [read = TrackReaderBy(settings.settings.replayGain)] { return MakeGstMediaFramework(read); });
  // Test hook: the face as first shown, written to a file.
  platform::qt::QtDesktop desktop({icon, qEnvironmentVariable("KESTRAFON_DUMP_FACE")});

  int result = 0;
  {
    AppContext ctx(desktop, media, text, skin, texts);
    PlayerWindowCommands windows(ctx);
    mpris::MprisPlayer mediaControls(ctx.control(), windows);
    platform::qt::QtMprisService bus(mediaControls);
    // The files left out were named on standard error already.
    StartPlayer(ctx, windows,
                {files.paths, {}, line.enqueue, qEnvironmentVariableIntValue("KESTRAFON_TRACE_STARTUP") != 0});
    if (handOver == platform::qt::HandOverResult::NoBus) {
      std::fputs("kestrafon: no session bus; the desktop's media controls cannot reach the player\n", stderr);
    } else if (busProblem.isEmpty() && !bus.Publish(&busProblem)) {
      std::fprintf(stderr, "kestrafon: %s; the desktop's media controls cannot reach this player\n",
                   qPrintable(busProblem));
    } else if (!busProblem.isEmpty()) {
      std::fprintf(stderr, "kestrafon: %s; running on its own\n", qPrintable(busProblem));
    }
    result = QApplication::exec();
  }
  // Windows unloaded on the way out are deleted here, not leaked.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return result;
}
