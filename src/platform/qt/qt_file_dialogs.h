#pragma once
// The open and save dialogs on QFileDialog, and message boxes. Qt's own dialog (not the
// desktop's portal) so it behaves the same everywhere and is translated with
// Qt's own catalogues.
#include <QStringList>

#include "seam/desktop.h"

namespace kestrafon::platform::qt {

class QtFileDialogs final : public seam::FileDialogs {
 public:
  std::vector<std::string> ShowOpen(const seam::FileDialogRequest& request) override;
  std::optional<std::string> ShowSave(const seam::FileDialogRequest& request) override;
  void ShowMessage(const std::string& title, const std::string& text) override;
};

// "description|*.a;*.b|..." as Qt name filters. A description that does not
// already end in its patterns gets them appended, as Qt reads the patterns
// from the last parentheses.
QStringList QtNameFilters(const std::string& filter);

}  // namespace kestrafon::platform::qt
