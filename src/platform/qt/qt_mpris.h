#pragma once
// The desktop's media controls on the session bus: org.mpris.MediaPlayer2
// and its Player interface at /org/mpris/MediaPlayer2, plus a small
// org.kestrafon.Kestrafon interface through which a second launch hands its
// files over. Only translation: every method and property is the mapping's.
#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <string>
#include <vector>

#include "control/mpris_player.h"

namespace kestrafon::platform::qt {

inline constexpr const char* kMprisService = "org.mpris.MediaPlayer2.kestrafon";
inline constexpr const char* kMprisPath = "/org/mpris/MediaPlayer2";

class QtMprisService final : public QObject, public mpris::PropertiesSink {
  Q_OBJECT

 public:
  explicit QtMprisService(mpris::MprisPlayer& player);
  ~QtMprisService() override;

  // Puts the interfaces and the name on the session bus. On failure, says
  // why in `problem` and leaves the player as it was.
  bool Publish(QString* problem);

  mpris::MprisPlayer& player() { return player_; }
  // Whether a file dialog is up: the list must not change under it, nor
  // the program end.
  static bool BusyWithDialog();
  // Runs `action` now, or once no file dialog is up.
  void WhenNoDialog(std::function<void()> action);

  void PropertiesChanged(const mpris::Snapshot& now, const std::vector<mpris::Property>& changed) override;

 private:
  mpris::MprisPlayer& player_;
  bool published_ = false;
};

// The values as D-Bus carries them.
QVariantMap MetadataMap(const mpris::Metadata& metadata);

enum class HandOverResult { NoBus, NoRunningPlayer, Handed };
// A second launch: gives the running player these files (or raises it when
// there are none).
// With `enqueue` the running player adds the files and plays nothing.
HandOverResult HandOverToRunningPlayer(const std::vector<std::string>& files, bool enqueue, QString* problem);

class MprisRootAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ canTrue)
  Q_PROPERTY(bool CanRaise READ canTrue)
  Q_PROPERTY(bool HasTrackList READ canFalse)
  Q_PROPERTY(bool CanSetFullscreen READ canFalse)
  Q_PROPERTY(bool Fullscreen READ canFalse)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

 public:
  explicit MprisRootAdaptor(QtMprisService* service) : QDBusAbstractAdaptor(service), service_(*service) {}
  bool canTrue() const { return true; }
  bool canFalse() const { return false; }
  QString identity() const { return QStringLiteral("Kestrafon"); }
  QString desktopEntry() const { return QStringLiteral("org.kestrafon.Kestrafon"); }
  QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
  QStringList supportedMimeTypes() const { return {QStringLiteral("audio/mpeg")}; }

 public slots:
  void Quit();
  void Raise();

 private:
  QtMprisService& service_;
};

class MprisPlayerAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE setVolume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(double Rate READ rate)
  Q_PROPERTY(double MinimumRate READ rate)
  Q_PROPERTY(double MaximumRate READ rate)
  Q_PROPERTY(bool CanGoNext READ canGoNext)
  Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
  Q_PROPERTY(bool CanPlay READ canPlay)
  Q_PROPERTY(bool CanPause READ canPause)
  Q_PROPERTY(bool CanSeek READ canSeek)
  Q_PROPERTY(bool CanControl READ canControl)

 public:
  explicit MprisPlayerAdaptor(QtMprisService* service) : QDBusAbstractAdaptor(service), service_(*service) {}
  QString playbackStatus() const;
  QVariantMap metadata() const;
  double volume() const;
  void setVolume(double volume);
  qlonglong position() const;
  double rate() const { return 1.0; }
  bool canGoNext() const;
  bool canGoPrevious() const;
  bool canPlay() const;
  bool canPause() const;
  bool canSeek() const { return false; }
  bool canControl() const { return true; }

 public slots:
  void Play();
  void Pause();
  void PlayPause();
  void Stop();
  void Next();
  void Previous();
  void OpenUri(const QString& uri);
  // The player cannot seek: these do nothing, as the interface allows.
  void Seek(qlonglong) {}
  void SetPosition(const QDBusObjectPath&, qlonglong) {}

 signals:
  void Seeked(qlonglong position);

 private:
  QtMprisService& service_;
};

class KestrafonAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kestrafon.Kestrafon")

 public:
  explicit KestrafonAdaptor(QtMprisService* service) : QDBusAbstractAdaptor(service), service_(*service) {}

 public slots:
  // Full local paths, added in order; the first added entry plays.
  void OpenFiles(const QStringList& paths);
  void EnqueueFiles(const QStringList& paths);

 private:
  QtMprisService& service_;
};

}  // namespace kestrafon::platform::qt
