// Files dropped on a window: local files reach the handler as paths in the
// order of the drop; folders, remote addresses and plain text are refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "platform/qt/qt_form_host.h"

namespace {

using namespace kestrafon::platform::qt;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct DropTarget {
  QtFormHost window{[] {
    FormHostOptions options;
    options.width = 303;
    options.height = 202;
    return options;
  }()};
  std::vector<std::vector<std::string>> drops;

  DropTarget() {
    window.SetFilesDroppedHandler([this](const std::vector<std::string>& paths) { drops.push_back(paths); });
  }
  // Returns whether the window took the drag when it entered.
  bool Drop(QMimeData& data) {
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return enter.isAccepted();
  }
};

TEST(FileDrop, LocalFilesArriveInOrderAndAnythingElseIsRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString a = dir.filePath(QStringLiteral("b side.mp3")), b = dir.filePath(QStringLiteral("a.kfl"));
  for (const QString& path : {a, b}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  DropTarget target;
  EXPECT_TRUE(target.window.acceptDrops());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/x.mp3")), QUrl::fromLocalFile(dir.path()),
                 QUrl::fromLocalFile(b)});
  EXPECT_TRUE(target.Drop(files));
  ASSERT_EQ(target.drops.size(), 1u);
  EXPECT_THAT(target.drops[0], ElementsAre(a.toStdString(), b.toStdString()));

  QMimeData remote, text, folder;
  remote.setUrls({QUrl(QStringLiteral("https://example.org/x.mp3"))});
  text.setText(QStringLiteral("/tmp/x.mp3"));
  folder.setUrls({QUrl::fromLocalFile(dir.path()), QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.mp3")))});
  EXPECT_FALSE(target.Drop(remote));
  EXPECT_FALSE(target.Drop(text));
  EXPECT_FALSE(target.Drop(folder));
  EXPECT_EQ(target.drops.size(), 1u);

  // Without a handler the window takes no drops at all.
  target.window.SetFilesDroppedHandler({});
  EXPECT_FALSE(target.window.acceptDrops());
}

}  // namespace
