#pragma once
// The commands that edit the working image: Undo and Redo (with their texts and enabled state,
// and which of Ctrl+Z and Ctrl+Y belong to a text field rather than to the image), the four
// editing views of the Edit menu, the Memory Map, and the model choice of Model Information.

#include "app/CommandTable.h"

class QKeyEvent;
class QObject;

namespace vpr {

class CMainFrame;

class EditCommands {
public:
  // The Undo and Redo items: without a step, and naming the step ("Undo %s").
  static constexpr int kTextUndo = 10064001;
  static constexpr int kTextUndoStep = 10064002;
  static constexpr int kTextRedo = 10064003;
  static constexpr int kTextRedoStep = 10064004;
  // The name of a change that reached the image without naming itself.
  static constexpr int kTextUnnamedStep = 10064015;

  // Undo and Redo follow the working image's history from now on.
  EditCommands(CMainFrame& frame, CommandTable& table);
  ~EditCommands();
  EditCommands(const EditCommands&) = delete;
  EditCommands& operator=(const EditCommands&) = delete;

  // Texts and enabled state of Undo and Redo from the history.
  void updateUndoActions();
  // Whether a key pressed in a text field is Undo or Redo of the image rather than of the field:
  // the field has nothing of its own to take back or do again.
  bool isDocumentUndoKey(QObject* watched, const QKeyEvent* key) const;

private:
  // One step back or forward, then the title and the open views follow.
  void undoOrRedo(bool undo);
  // A commit is one undo step, and the views reload.
  void openMemoryMap();
  void modelInformation();

  CMainFrame& frame_;
};

} // namespace vpr
