#pragma once
// The adjustment of one alignment value of a radio in test mode: a slider and a spin box whose
// every movement sends the value to the radio at once, the value last sent and the value
// applied, Apply, Close and Help. Closing takes an unapplied value back (TestModeSession).
//
// It holds no protocol: the session sends, retries and writes the image. A value, Apply or
// closing that arrives while the radio is being talked to waits for that exchange to end (only
// the latest of several values is sent). When a value could not be sent and the user gave up,
// the dialog closes and endsTestMode() tells the test dialog to end as well.

#include "app/HelpCallback.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace vpr {

class TestModeSession;

class CAdjustDlg : public QDialog {
  Q_OBJECT
public:
  CAdjustDlg(TestModeSession& session, HelpCallback help, QWidget* parent);
  ~CAdjustDlg() override;

  // The adjustment ended because the radio failed: the test mode is to end too.
  bool endsTestMode() const { return closing_; }

  QSlider* slider() const { return slider_; }
  QSpinBox* spin() const { return spin_; }
  QLabel* currentLabel() const { return current_; }
  QLabel* appliedLabel() const { return applied_; }
  QPushButton* applyButton() const { return applyButton_; }
  QPushButton* closeButton() const { return closeButton_; }

  void done(int result) override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  // A new value from the slider or the spin box.
  void moveTo(int value);
  void sendValue(int value);
  void showValues();
  void apply();
  void leave(int result);

  TestModeSession& session_;
  HelpCallback help_;
  int helpContext_;
  bool closing_ = false;
  bool leaving_ = false;
  bool placed_ = false;
  QSlider* slider_ = nullptr;
  QSpinBox* spin_ = nullptr;
  QLabel* current_ = nullptr;
  QLabel* applied_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
};

} // namespace vpr
