#include "model/UndoHistory.h"

#include <utility>

namespace vpr {

UndoHistory::UndoHistory(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

void UndoHistory::reset(const ImageState& state) {
  done_.clear();
  undone_.clear();
  current_ = state;
  changed();
}

bool UndoHistory::record(const ImageState& state, std::string name) {
  if (state == current_) return false;
  done_.push_back({current_, std::move(name)});
  if (done_.size() > capacity_) done_.pop_front();
  undone_.clear();
  current_ = state;
  changed();
  return true;
}

std::string UndoHistory::undoName() const {
  return done_.empty() ? std::string() : done_.back().name;
}

std::string UndoHistory::redoName() const {
  return undone_.empty() ? std::string() : undone_.back().name;
}

std::optional<ImageState> UndoHistory::undo() {
  return cross(done_, undone_);
}

std::optional<ImageState> UndoHistory::redo() {
  return cross(undone_, done_);
}

std::optional<ImageState> UndoHistory::cross(std::deque<Step>& from, std::deque<Step>& to) {
  if (from.empty()) return std::nullopt;
  Step step = std::move(from.back());
  from.pop_back();
  to.push_back({current_, std::move(step.name)});
  current_ = step.state;
  changed();
  return current_;
}

void UndoHistory::changed() const {
  if (onChange_) onChange_();
}

} // namespace vpr
