#include "platform/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kestrafon::platform::qt {

namespace {

std::vector<std::string> Run(const seam::FileDialogRequest& request, bool save) {
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
  if (dialog.exec() != QDialog::Accepted) return {};
  std::vector<std::string> paths;
  for (const QString& file : dialog.selectedFiles()) paths.push_back(QDir::toNativeSeparators(file).toStdString());
  return paths;
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

std::vector<std::string> QtFileDialogs::ShowOpen(const seam::FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> QtFileDialogs::ShowSave(const seam::FileDialogRequest& request) {
  std::vector<std::string> chosen = Run(request, true);
  if (chosen.empty()) return std::nullopt;
  return std::move(chosen.front());
}

void QtFileDialogs::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();  // ticks and repaints go on meanwhile, as with the file dialogs
}

}  // namespace kestrafon::platform::qt
