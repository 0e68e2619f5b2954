#pragma once
// The base of the four editing views (channel information, optional features, key assignment,
// test frequencies). Each view shows a part of the working image and writes every change
// straight back into it through the core's record operations; it owns nothing of the image.

#include <QString>
#include <QWidget>
#include <utility>

class QPushButton;

namespace vpr {

class CImageView : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  ~CImageView() override = default;

  // Refills every field from the working image after it changed outside the views
  // (open, read from radio, model change).
  virtual void reloadFromImage() = 0;
  // Asked before the view's frame closes; may show a message. True: the frame may close.
  virtual bool queryClose() { return true; }
  // The caption of the view's frame.
  virtual QString viewTitle() const = 0;
  // The help context of the control that holds focus (the view's own context otherwise).
  virtual int helpContext() const = 0;
  // Stores an entry typed into the view but not committed yet, as leaving the field would; the
  // main window asks for this before it saves, replaces, sends or closes the image.
  virtual void commitPendingEdit() {}

protected:
  // Closes the frame the view sits in (the window itself when it has no frame).
  void closeFrame();
  // Creates the view's Close button (closes the frame) and Help button (asks for help on
  // viewHelp), in that order.
  std::pair<QPushButton*, QPushButton*> createFrameButtons(int viewHelp);

signals:
  // The wide/narrow choice changed: the main window rebuilds its title.
  void titleMayHaveChanged();
  // The user asked for help (F1 or the Help button) on the given help context.
  void helpRequested(int context);
};

} // namespace vpr
