#include "platform/qt/qt_mpris.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QTimer>

namespace kestrafon::platform::qt {

namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kKestrafonInterface = "org.kestrafon.Kestrafon";

QString PropertyName(mpris::Property property) {
  switch (property) {
    case mpris::Property::PlaybackStatus: return QStringLiteral("PlaybackStatus");
    case mpris::Property::Metadata: return QStringLiteral("Metadata");
    case mpris::Property::Volume: return QStringLiteral("Volume");
    case mpris::Property::CanGoNext: return QStringLiteral("CanGoNext");
    case mpris::Property::CanGoPrevious: return QStringLiteral("CanGoPrevious");
    case mpris::Property::CanPlay: return QStringLiteral("CanPlay");
    case mpris::Property::CanPause: break;
  }
  return QStringLiteral("CanPause");
}

QVariant PropertyValue(const mpris::Snapshot& s, mpris::Property property) {
  switch (property) {
    case mpris::Property::PlaybackStatus: return QString::fromStdString(s.playbackStatus);
    case mpris::Property::Metadata: return MetadataMap(s.metadata);
    case mpris::Property::Volume: return s.volume;
    case mpris::Property::CanGoNext: return s.canGoNext;
    case mpris::Property::CanGoPrevious: return s.canGoPrevious;
    case mpris::Property::CanPlay: return s.canPlay;
    case mpris::Property::CanPause: break;
  }
  return s.canPause;
}

}  // namespace

QVariantMap MetadataMap(const mpris::Metadata& m) {
  QVariantMap map;
  map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(QString::fromStdString(m.trackId))));
  if (m.lengthUs > 0) map.insert(QStringLiteral("mpris:length"), qlonglong(m.lengthUs));
  if (!m.url.empty()) map.insert(QStringLiteral("xesam:url"), QString::fromStdString(m.url));
  if (!m.title.empty()) map.insert(QStringLiteral("xesam:title"), QString::fromStdString(m.title));
  // MPRIS takes a list of artists; the tags give one.
  if (!m.artist.empty()) map.insert(QStringLiteral("xesam:artist"), QStringList{QString::fromStdString(m.artist)});
  if (!m.album.empty()) map.insert(QStringLiteral("xesam:album"), QString::fromStdString(m.album));
  return map;
}

QtMprisService::QtMprisService(mpris::MprisPlayer& player) : player_(player) {
  new MprisRootAdaptor(this);
  new MprisPlayerAdaptor(this);
  new KestrafonAdaptor(this);
}

QtMprisService::~QtMprisService() {
  player_.SetSink(nullptr);
  if (published_) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(QString::fromLatin1(kMprisService));
    bus.unregisterObject(QString::fromLatin1(kMprisPath));
  }
}

bool QtMprisService::Publish(QString* problem) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    *problem = QStringLiteral("no session bus");
    return false;
  }
  if (!bus.registerObject(QString::fromLatin1(kMprisPath), this, QDBusConnection::ExportAdaptors)) {
    *problem = QStringLiteral("cannot register %1").arg(QString::fromLatin1(kMprisPath));
    return false;
  }
  // Not queued: a name someone else holds stays theirs.
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
      QString::fromLatin1(kMprisService), QDBusConnectionInterface::DontQueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    bus.unregisterObject(QString::fromLatin1(kMprisPath));
    *problem = QStringLiteral("%1 is taken").arg(QString::fromLatin1(kMprisService));
    return false;
  }
  published_ = true;
  player_.SetSink(this);
  return true;
}

bool QtMprisService::BusyWithDialog() { return QApplication::activeModalWidget() != nullptr; }

void QtMprisService::PropertiesChanged(const mpris::Snapshot& now, const std::vector<mpris::Property>& changed) {
  QVariantMap values;
  for (const mpris::Property property : changed) values.insert(PropertyName(property), PropertyValue(now, property));
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kMprisPath),
                                                   QStringLiteral("org.freedesktop.DBus.Properties"),
                                                   QStringLiteral("PropertiesChanged"));
  signal << QString::fromLatin1(kPlayerInterface) << values << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

HandOverResult HandOverToRunningPlayer(const std::vector<std::string>& files, bool enqueue, QString* problem) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return HandOverResult::NoBus;
  if (!bus.interface()->isServiceRegistered(QString::fromLatin1(kMprisService)).value()) {
    return HandOverResult::NoRunningPlayer;
  }
  QDBusMessage call;
  if (files.empty()) {
    call = QDBusMessage::createMethodCall(QString::fromLatin1(kMprisService), QString::fromLatin1(kMprisPath),
                                          QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
  } else {
    QStringList paths;
    for (const std::string& file : files) paths << QString::fromStdString(file);
    call = QDBusMessage::createMethodCall(QString::fromLatin1(kMprisService), QString::fromLatin1(kMprisPath),
                                          QString::fromLatin1(kKestrafonInterface),
                                          enqueue ? QStringLiteral("EnqueueFiles") : QStringLiteral("OpenFiles"));
    call << paths;
  }
  const QDBusMessage answer = bus.call(call, QDBus::Block, 5000);
  if (answer.type() == QDBusMessage::ErrorMessage) {
    // Someone else holds the name (or the player hangs): run on our own.
    *problem = QStringLiteral("%1 did not take the files (%2)")
                   .arg(QString::fromLatin1(kMprisService), answer.errorMessage());
    return HandOverResult::NoRunningPlayer;
  }
  return HandOverResult::Handed;
}

void MprisRootAdaptor::Quit() {
  if (!QtMprisService::BusyWithDialog()) service_.player().Quit();
}

void MprisRootAdaptor::Raise() { service_.player().Raise(); }

QString MprisPlayerAdaptor::playbackStatus() const {
  return QString::fromStdString(service_.player().Now().playbackStatus);
}
QVariantMap MprisPlayerAdaptor::metadata() const { return MetadataMap(service_.player().Now().metadata); }
double MprisPlayerAdaptor::volume() const { return service_.player().Now().volume; }
void MprisPlayerAdaptor::setVolume(double volume) { service_.player().SetVolume(volume); }
qlonglong MprisPlayerAdaptor::position() const { return service_.player().PositionUs(); }
bool MprisPlayerAdaptor::canGoNext() const { return service_.player().Now().canGoNext; }
bool MprisPlayerAdaptor::canGoPrevious() const { return service_.player().Now().canGoPrevious; }
bool MprisPlayerAdaptor::canPlay() const { return service_.player().Now().canPlay; }
bool MprisPlayerAdaptor::canPause() const { return service_.player().Now().canPause; }

void MprisPlayerAdaptor::Play() { service_.player().Play(); }
void MprisPlayerAdaptor::Pause() { service_.player().Pause(); }
void MprisPlayerAdaptor::PlayPause() { service_.player().PlayPause(); }
void MprisPlayerAdaptor::Stop() { service_.player().Stop(); }
void MprisPlayerAdaptor::Next() { service_.player().Next(); }
void MprisPlayerAdaptor::Previous() { service_.player().Previous(); }

void QtMprisService::WhenNoDialog(std::function<void()> action) {
  if (!BusyWithDialog()) {
    action();
    return;
  }
  // The list is not changed under an open dialog: try again once it is gone.
  QTimer::singleShot(250, this, [this, action = std::move(action)]() mutable { WhenNoDialog(std::move(action)); });
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
  service_.WhenNoDialog([this, path = uri.toStdString()] { service_.player().OpenUri(path); });
}

void KestrafonAdaptor::OpenFiles(const QStringList& paths) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(path.toStdString());
  service_.WhenNoDialog([this, files = std::move(files)] { service_.player().OpenFiles(files); });
}

void KestrafonAdaptor::EnqueueFiles(const QStringList& paths) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(path.toStdString());
  service_.WhenNoDialog([this, files = std::move(files)] { service_.player().EnqueueFiles(files); });
}

}  // namespace kestrafon::platform::qt
