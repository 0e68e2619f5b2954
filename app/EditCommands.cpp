#include "app/EditCommands.h"

#include "app/CMainFrame.h"
#include "app/CMemoryMapDlg.h"
#include "app/CModelInfoDlg.h"
#include "app/CommandIds.h"
#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/CurrentFile.h"
#include "model/MemoryMap.h"
#include "model/RadioData.h"
#include "views/QtText.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace vpr {

namespace {

struct ViewCommand {
  int command;
  ViewKind kind;
};
constexpr ViewCommand kViewCommands[] = {
    {cmd::ChannelInformation, ViewKind::ChannelInfo},
    {cmd::OptionalFeatures, ViewKind::Features},
    {cmd::KeyAssignment, ViewKind::Keys},
    {cmd::TestFrequency, ViewKind::TestFrequencies},
};

} // namespace

EditCommands::EditCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  using enum CommandTable::OpenEntry;
  for (const ViewCommand& view : kViewCommands)
    table.add(view.command, [this, kind = view.kind] { frame_.openView(kind); });
  table.add(cmd::EditUndo, [this] { undoOrRedo(true); });
  table.add(cmd::EditRedo, [this] { undoOrRedo(false); });
  table.add(cmd::MemoryMap, [this] { openMemoryMap(); });
  table.add(
      cmd::ModelInformation, [this] { modelInformation(); }, StoredFirst);
  // The memory map shows and edits the working image; configured once for the program.
  MemoryMap::Configuration memoryMapSetup;
  memoryMapSetup.source = radioData().editImage;
  memoryMap().configure(memoryMapSetup);
  radioData().history().setOnChange([this] { updateUndoActions(); });
}

EditCommands::~EditCommands() {
  radioData().history().setOnChange({});
}

void EditCommands::updateUndoActions() {
  const UndoHistory& history = radioData().history();
  const auto update = [](QAction* action, bool enabled, int plainText, int stepText,
                         const std::string& name) {
    action->setEnabled(enabled);
    action->setText(enabled ? toQString(formatText(textOf(stepText), {name})) : qtText(plainText));
    action->setToolTip(QString(action->text()).remove(QLatin1Char('&')));
  };
  update(frame_.action(cmd::EditUndo), history.canUndo(), kTextUndo, kTextUndoStep, history.undoName());
  update(frame_.action(cmd::EditRedo), history.canRedo(), kTextRedo, kTextRedoStep, history.redoName());
}

bool EditCommands::isDocumentUndoKey(QObject* watched, const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  const bool undo = frame_.action(cmd::EditUndo)->shortcuts().contains(pressed);
  const bool redo = frame_.action(cmd::EditRedo)->shortcuts().contains(pressed);
  if (!undo && !redo) return false;
  // A text field takes back its own typing first; with nothing typed the key undoes a step.
  // Combo and spin boxes hold the focus for the text field inside them.
  const QLineEdit* edit = qobject_cast<QLineEdit*>(watched);
  if (qobject_cast<QComboBox*>(watched) || qobject_cast<QAbstractSpinBox*>(watched))
    edit = watched->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  if (!edit) return false;
  return undo ? !edit->isUndoAvailable() : !edit->isRedoAvailable();
}

void EditCommands::undoOrRedo(bool undo) {
  // An entry still open in a view is a step of its own, and so is any change that reached the
  // image without being named: the undo then takes back exactly one thing the user did.
  frame_.commitPendingEdits();
  radioData().recordStep(textOf(kTextUnnamedStep));
  const ModelCode modelBefore = radioData().modelCode();
  if (!(undo ? radioData().undoStep() : radioData().redoStep())) return;
  frame_.showChangedImage(modelBefore);
}

void EditCommands::openMemoryMap() {
  frame_.commitPendingEdits();
  const ModelCode modelBefore = radioData().modelCode();
  if (!CMemoryMapDlg::run(&frame_, memoryMap(), frame_.helpCallback())) return;
  // The bytes may have given the image another model: its band limits follow.
  radioData().applyBandLimits();
  radioData().recordStep(textOf(MemoryMap::kTextCaption));
  frame_.showChangedImage(modelBefore);
}

void EditCommands::modelInformation() {
  ModelSelection::Hooks hooks;
  hooks.closeAllViews = [this] { frame_.closeAllWindows(); };
  hooks.resetFileName = [] { currentFile().resetFileName(); };
  hooks.rebuildMenus = [this] {
    frame_.localiseMenus();
    frame_.updateTitle();
  };
  hooks.openChannelView = [this] { frame_.openView(ViewKind::ChannelInfo); };
  CModelInfoDlg::run(&frame_, frame_.ui(), hooks, frame_.helpCallback());
}

} // namespace vpr
