#pragma once
// The key assignment view: the function of the radio's Moni key, chosen from a pick list and
// written into the working image at once.

#include "views/CImageView.h"

class QLabel;

namespace vpr {

class CPickField;
class CPickList;
class RadioData;

class CKeyView : public CImageView {
  Q_OBJECT
public:
  explicit CKeyView(RadioData& data, QWidget* parent = nullptr);

  void reloadFromImage() override;
  bool queryClose() override;
  QString viewTitle() const override;
  int helpContext() const override;

  CPickField* moniField() const { return field_; }
  CPickList* pickList() const { return list_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void display();

  RadioData& data_;
  QLabel* label_;
  CPickField* field_;
  CPickList* list_;
};

} // namespace vpr
