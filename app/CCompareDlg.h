#pragma once
// The Compare dialog: shows the differences between the working data and a data file or the
// radio, one field a line as the core's compare lists them, and copies the list to the
// clipboard as plain text. It shows what it is given; reading the file or the radio and
// comparing the images is done before it opens.

#include "app/HelpCallback.h"
#include "model/ImageCompare.h"

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace vpr {

class CCompareDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x19000;

  // other names what the working data was compared with (a file name or the radio).
  CCompareDlg(const std::string& other, const std::vector<ImageDifference>& differences, HelpCallback help,
              QWidget* parent = nullptr);

  QPlainTextEdit* listView() const { return list_; }
  QPushButton* copyButton() const { return copyButton_; }
  // The list as it is copied.
  const QString& listText() const { return text_; }

private:
  HelpCallback help_;
  QString text_;
  QPlainTextEdit* list_ = nullptr;
  QPushButton* copyButton_ = nullptr;
};

} // namespace vpr
