#include "model/ModelSelection.h"

#include "lang/CLanguageTable.h"

namespace vpr {

namespace {

int indexOfText(const std::vector<ListEntry>& list, const std::string& text) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].text == text) return static_cast<int>(i);
  return -1;
}

void call(const std::function<void()>& hook) {
  if (hook) hook();
}

} // namespace

ModelSelection::ModelSelection(RadioData& data) : data_(data), models_(ModelCatalogue::modelList()) {
  modelIndex_ = indexOfText(models_, data_.modelNameText());
  if (modelIndex_ < 0) modelIndex_ = 0;
  bands_ = ModelCatalogue::bandList(models_[static_cast<std::size_t>(modelIndex_)].value);
  bandIndex_ = indexOfText(bands_, data_.bandNameText());
  if (bandIndex_ < 0) bandIndex_ = 0;
}

int ModelSelection::chosenModelNumber() const {
  return models_[static_cast<std::size_t>(modelIndex_)].value;
}

int ModelSelection::chosenBandByte() const {
  return bands_[static_cast<std::size_t>(bandIndex_)].value;
}

void ModelSelection::pickModel(int index) {
  if (index < 0 || index >= static_cast<int>(models_.size())) return;
  const std::string bandShown = bands_[static_cast<std::size_t>(bandIndex_)].text;
  modelIndex_ = index;
  bands_ = ModelCatalogue::bandList(chosenModelNumber());
  bandIndex_ = indexOfText(bands_, bandShown);
  if (bandIndex_ < 0) bandIndex_ = 0;
}

void ModelSelection::pickBand(int index) {
  if (index < 0 || index >= static_cast<int>(bands_.size())) return;
  bandIndex_ = index;
}

bool ModelSelection::isChange() const {
  return chosenModelNumber() != data_.modelNumber() || chosenBandByte() != data_.bandCode();
}

ModelSelection::Outcome ModelSelection::accept(UserInterface& ui, const Hooks& hooks) {
  const bool changed = isChange();
  if (changed && !ui.confirm(textOf(kTextConfirmChange))) return Outcome::Cancelled;

  call(hooks.closeAllViews);
  if (changed) data_.clearImage();
  data_.setModelNumber(chosenModelNumber());
  data_.setBandByte(static_cast<std::uint8_t>(chosenBandByte()));
  data_.applyBandLimits();
  if (changed) {
    data_.buildDefaultImage(false);
    data_.markSaved();
    call(hooks.resetFileName);
    data_.clearClipboards();
  }
  data_.recordStep(textOf(kTextStep));
  call(hooks.rebuildMenus);
  call(hooks.openChannelView);
  return Outcome::Applied;
}

} // namespace vpr
