#pragma once
// The About box: the product, its models, version and release, three closing lines, OK.

#include <QDialog>

namespace vpr {

class CAboutDlg : public QDialog {
  Q_OBJECT
public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  // Shows the box modally over parent; returns when the user closes it.
  static void run(QWidget* parent);
};

} // namespace vpr
