#include "platform/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmapCache>

#include "platform/qt/released_memory.h"

namespace kestrafon::platform::qt {

namespace {

std::optional<std::string> Run(const FileDialogRequest& request, bool save) {
  // A dialog browses folders once in a while; the program plays for hours.
  // Give the memory the dialog used back to the system when it closes.
  struct GiveBackMemory {
    ~GiveBackMemory() {
      QPixmapCache::clear();
      ReleaseUnusedMemory();
    }
  } giveBack;
  QFileDialog dialog(nullptr, QString::fromStdString(request.title), QString::fromStdString(request.initialDirectory));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setNameFilters(QtNameFilters(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.allowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  // Ticks and repaints go on while the dialog is open.
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return SelectionText(files);
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const bool hasPatterns = description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('('));
    filters << (hasPatterns ? description : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return filters;
}

std::string SelectionText(const QStringList& files) {
  if (files.isEmpty()) return {};
  if (files.size() == 1) return QDir::toNativeSeparators(files.front()).toStdString();
  std::string text = QDir::toNativeSeparators(QFileInfo(files.front()).absolutePath()).toStdString();
  for (const QString& file : files) {
    text.push_back('\0');
    text += QFileInfo(file).fileName().toStdString();
  }
  return text;
}

std::optional<std::string> QtFileDialogs::ShowOpen(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> QtFileDialogs::ShowSave(const FileDialogRequest& request) { return Run(request, true); }

void QtFileDialogs::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();  // ticks and repaints go on meanwhile, as with the file dialogs
}

}  // namespace kestrafon::platform::qt
