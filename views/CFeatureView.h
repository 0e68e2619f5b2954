#pragma once
// The optional features view: time-out timer and squelch level as numeric fields with spin
// buttons, beep tone, battery saver and wide/narrow as pick lists. Every committed value goes
// into the working image at once (wide/narrow into the radio-wide setting and every programmed
// record).

#include "views/CImageView.h"

#include <array>

class QLabel;

namespace vpr {

class CPickField;
class CPickList;
class CSpinEdit;
class RadioData;

class CFeatureView : public CImageView {
  Q_OBJECT
public:
  enum Item { TimeOut = 0, Squelch, BeepTone, BatterySaver, WideNarrow, ItemCount };

  explicit CFeatureView(RadioData& data, QWidget* parent = nullptr);

  void reloadFromImage() override;
  QString viewTitle() const override;
  int helpContext() const override;
  // A value typed into a number field is stored as leaving the field would store it.
  void commitPendingEdit() override;

  CSpinEdit* spinField(Item item) const;
  CPickField* pickField(Item item) const;
  CPickList* pickList() const { return list_; }
  QLabel* label(Item item) const { return labels_[item]; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void display(int item);
  void displayAll();
  void updateEnables();
  void commitTyped(int item);
  void spin(int item, int direction);
  void openList(int item);
  void choose(int value);
  int itemOfField(const QWidget* widget) const;

  RadioData& data_;
  std::array<QLabel*, ItemCount> labels_{};
  std::array<QWidget*, ItemCount> fields_{};
  CSpinEdit* timeOut_;
  CSpinEdit* squelch_;
  CPickList* list_;
  int openItem_ = -1; // the pick item whose list is open (remembered until another opens)
};

} // namespace vpr
