#include "platform/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kestrafon::platform::qt {

namespace {

// The extension a name filter's first pattern gives ("KFLファイル(*.kfl)"
// gives "kfl"); `fallback` for a filter without one.
QString SuffixOfNameFilter(const QString& filter, const QString& fallback) {
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return fallback;
  const QString patterns = filter.mid(open + 1, close - open - 1);
  const QString first = patterns.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
  if (!first.startsWith(QStringLiteral("*."))) return fallback;
  const QString suffix = first.mid(2);
  if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return fallback;
  return suffix;
}

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
    // A name typed without an extension takes the chosen kind's, as Windows'
    // dialog gives it, not always the first kind's.
    const QString fallback = QString::fromStdString(request.defaultExtension);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, fallback](const QString& filter) {
      dialog.setDefaultSuffix(SuffixOfNameFilter(filter, fallback));
    });
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
