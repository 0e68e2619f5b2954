#pragma once
// The decisions of the Model Information dialog, without the dialog.
//
// The dialog shows two lists, models and bands of the chosen model. It constructs a
// ModelSelection, fills its lists from modelList()/bandList(), shows the selected indexes,
// forwards the user's picks, and on OK calls accept(); the steps that concern windows (close
// the editing views, reset the file name, rebuild the menus, open the channel view) are hooks
// the caller supplies.

#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <functional>
#include <vector>

namespace vpr {

class ModelSelection {
public:
  // The confirmation asked before the image is replaced by a new model's default image.
  static constexpr int kTextConfirmChange = 10026013;
  // The name of the undo step a change of model or band makes.
  static constexpr int kTextStep = 10064014;
  // The dialog's texts: caption, list labels (the buttons use 10002001, 10002002, 10002004).
  static constexpr int kTextCaption = 10013002;
  static constexpr int kTextModelLabel = 10013003;
  static constexpr int kTextBandLabel = 10013004;
  // Help contexts: the dialog and its Help button, the model list, the band list.
  static constexpr int kHelpDialog = 0x20000;
  static constexpr int kHelpModelList = 0x21000;
  static constexpr int kHelpBandList = 0x22000;

  struct Hooks {
    std::function<void()> closeAllViews;   // before anything changes
    std::function<void()> resetFileName;   // the file name becomes "vpr40t.dat" (after a change)
    std::function<void()> rebuildMenus;    // the main window's menus and title
    std::function<void()> openChannelView; // as the Channel Information command does
  };

  enum class Outcome { Applied, Cancelled };

  // The opening selections: the image's model and band. An unlisted model selects the first
  // model and its first band, so that the dialog always offers a complete choice.
  explicit ModelSelection(RadioData& data);

  const std::vector<ListEntry>& modelList() const { return models_; }
  const std::vector<ListEntry>& bandList() const { return bands_; }
  int selectedModelIndex() const { return modelIndex_; }
  int selectedBandIndex() const { return bandIndex_; }
  int chosenModelNumber() const;
  int chosenBandByte() const;

  // Another model: the band list is refilled for it and keeps the band name shown so far, or
  // falls back to its first entry when the model has no such band. Indexes outside the list
  // are ignored.
  void pickModel(int index);
  void pickBand(int index);

  // Whether the choice differs from the image's model number or band byte.
  bool isChange() const;

  // OK. A change is confirmed with text 10026013 first; Cancel there keeps everything as it is
  // (the dialog stays open). Otherwise: close the views; on a change clear the image; write
  // model number and band byte; set the band limits; on a change build the default image, mark
  // it saved, reset the file name and empty both record clipboards; rebuild the menus and open
  // the channel view. The change is one undoable step (the image before it comes back with Undo).
  Outcome accept(UserInterface& ui, const Hooks& hooks);

private:
  RadioData& data_;
  std::vector<ListEntry> models_;
  std::vector<ListEntry> bands_;
  int modelIndex_ = 0;
  int bandIndex_ = 0;
};

} // namespace vpr
