#pragma once
// The Model Information dialog: the user picks a model and one of its bands; OK applies the
// choice to the working image (after a confirmation when it changes the model or band).
//
// The choice and its consequences live in ModelSelection; this dialog shows its two lists,
// forwards the picks and runs the OK step with the window hooks of the main frame.

#include "app/HelpCallback.h"
#include "model/ModelSelection.h"

#include <QDialog>

class QComboBox;

namespace vpr {

class CModelInfoDlg : public QDialog {
  Q_OBJECT
public:
  CModelInfoDlg(RadioData& data, UserInterface& ui, ModelSelection::Hooks hooks, HelpCallback help,
                QWidget* parent = nullptr);

  // Help opens the dialog's topic; F1 on one of the lists opens that list's topic.
  // Runs the dialog modally over parent on the process-wide radio data. True when the user
  // pressed OK and the choice was applied (with or without a change); false on Cancel.
  static bool run(QWidget* parent, UserInterface& ui, const ModelSelection::Hooks& hooks,
                  const HelpCallback& help);

  void accept() override;

private:
  void refillBands();
  void showHelpFor(QWidget* focus);

  ModelSelection selection_;
  UserInterface& ui_;
  ModelSelection::Hooks hooks_;
  HelpCallback help_;
  QComboBox* models_ = nullptr;
  QComboBox* bands_ = nullptr;
};

} // namespace vpr
