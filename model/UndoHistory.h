#pragma once
// The undo and redo history of the working image. Every change the user makes to the image is
// one step, kept as a snapshot of the whole state before it: the image is only 1024 bytes, so a
// snapshot is simpler and safer than teaching every operation its own inverse, and a step can
// never undo more or less than what it changed.
//
// The history only keeps states and names. It does not change the image, does not know what a
// step means, and never talks to the user: undo and redo hand back the state to put in place,
// and the names are the callers' own texts ("RX Freq. of channel 3").

#include "model/RadioImage.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace vpr {

// Everything an undo puts back: the image and the radio-wide wide/narrow setting, which a change
// of the setting may alter without touching a byte (an image without programmed records).
struct ImageState {
  RadioImage image;
  int narrowSetting = 0;
  bool operator==(const ImageState&) const = default;
};

class UndoHistory {
public:
  // Steps kept before the oldest is forgotten.
  static constexpr std::size_t kDefaultCapacity = 1000;

  explicit UndoHistory(std::size_t capacity = kDefaultCapacity);

  // Forgets every step: `state` is where the next step starts (New, Open, Read).
  void reset(const ImageState& state);
  // When `state` differs from the state after the last step, records one step named `name` from
  // there to `state` and forgets what could be redone. Returns whether a step was recorded.
  bool record(const ImageState& state, std::string name);

  bool canUndo() const { return !done_.empty(); }
  bool canRedo() const { return !undone_.empty(); }
  // The name of the step the next undo (redo) takes back (does again); empty when there is none.
  std::string undoName() const;
  std::string redoName() const;
  std::size_t undoCount() const { return done_.size(); }
  std::size_t redoCount() const { return undone_.size(); }

  // The state before the last step, which becomes the next step to redo; nothing when there is
  // nothing to undo.
  std::optional<ImageState> undo();
  // The state after the next undone step, which becomes the last step again.
  std::optional<ImageState> redo();
  // The state after the last step (what the image should hold now).
  const ImageState& current() const { return current_; }

  // Called after every reset, recorded step, undo and redo (the menus follow the history).
  void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
  // One step: the state on the other side of it and its name.
  struct Step {
    ImageState state;
    std::string name;
  };
  // Takes the last step of `from` back to its state and keeps the way forward again in `to`.
  std::optional<ImageState> cross(std::deque<Step>& from, std::deque<Step>& to);
  void changed() const;

  std::size_t capacity_;
  std::deque<Step> done_;   // states before each step, oldest first
  std::deque<Step> undone_; // states after each undone step, next redo last
  ImageState current_{clearedImage(), 0};
  std::function<void()> onChange_;
};

} // namespace vpr
