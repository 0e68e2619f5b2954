#include "app/CPrintListDlg.h"

#include "app/CRPSView.h"
#include "lang/TextFormat.h"
#include "model/NumberText.h"
#include "model/PagePlan.h"
#include "model/RadioData.h"
#include "views/CSpinEdit.h"
#include "views/FormUtils.h"
#include "views/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr std::array<int, CPrintListDlg::SectionCount> kSectionTexts = {10013001, 10027002, 10027001,
                                                                        10027010, 10027012};
constexpr int kTextStart = 10008002;
constexpr int kTextTotalPages = 10008003;
constexpr int kTextSetup = 10002020;
constexpr int kTextPreview = 10003106;
constexpr int kTextClearAll = 10002022;
constexpr int kTextSelectAll = 10002023;
constexpr int kTextOk = 10002001;
constexpr int kTextCancel = 10002002;
constexpr int kTextHelp = 10002004;
constexpr int kChannelDigits = 3;

QString withoutMenuMarks(QString text) {
  text.remove('&');
  if (text.endsWith(QStringLiteral("..."))) text.chop(3);
  return text.trimmed();
}

} // namespace

CPrintListDlg::CPrintListDlg(RadioData& data, CRPSView& printing, HelpCallback help, Purpose purpose,
                             QWidget* parent)
    : QDialog(parent), data_(data), printing_(printing), help_(std::move(help)), purpose_(purpose),
      range_(data.channelCount()) {
  setWindowTitle(purpose == Purpose::Print ? qtText(kTextCaption)
                                           : withoutMenuMarks(qtText(kTextExportCaption)));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(8);
  for (int s = 0; s < SectionCount; ++s) {
    sections_[s] = new QCheckBox(qtText(kSectionTexts[s]), this);
    sections_[s]->setObjectName(QStringLiteral("section%1").arg(s));
    fields->addWidget(sections_[s], s, 0, 1, 4);
    connect(sections_[s], &QCheckBox::toggled, this, [this] {
      updateEnables();
      recount();
    });
  }
  start_ = new CSpinEdit(this);
  end_ = new CSpinEdit(this);
  auto* startLabel = new QLabel(qtText(kTextStart), this);
  startLabel->setBuddy(start_);
  const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0")) * 6 + 36;
  for (CSpinEdit* field : {start_, end_}) {
    configureValueEdit(field, CFilterEdit::DigitInput, kChannelDigits);
    field->setFixedWidth(fieldWidth);
    field->edit()->installEventFilter(this);
    connect(field->edit(), &QLineEdit::textEdited, this, [this, field] { typed(field); });
  }
  connect(start_, &CSpinEdit::focusLost, this, &CPrintListDlg::commitStart);
  connect(end_, &CSpinEdit::focusLost, this, &CPrintListDlg::commitEnd);
  connect(start_, &CSpinEdit::stepped, this, [this](int direction) { spin(start_, direction); });
  connect(end_, &CSpinEdit::stepped, this, [this](int direction) { spin(end_, direction); });
  const int rangeRow = SectionCount;
  fields->addWidget(startLabel, rangeRow, 0);
  fields->addWidget(start_, rangeRow, 1);
  fields->addWidget(new QLabel(QStringLiteral("–"), this), rangeRow, 2, Qt::AlignCenter);
  fields->addWidget(end_, rangeRow, 3);
  pageCount_ = new QLabel(this);
  pageCount_->setObjectName(QStringLiteral("pageCount"));
  fields->addWidget(new QLabel(qtText(kTextTotalPages), this), rangeRow + 1, 0);
  fields->addWidget(pageCount_, rangeRow + 1, 1, 1, 3);
  fields->setRowMinimumHeight(rangeRow, 0);
  fields->setColumnStretch(4, 1);

  ok_ = new QPushButton(qtText(purpose == Purpose::Print ? kTextOk : kTextExportButton), this);
  cancel_ = new QPushButton(qtText(kTextCancel), this);
  setup_ = new QPushButton(qtText(kTextSetup), this);
  preview_ = new QPushButton(qtText(kTextPreview), this);
  clearAll_ = new QPushButton(qtText(kTextClearAll), this);
  selectAll_ = new QPushButton(qtText(kTextSelectAll), this);
  helpButton_ = new QPushButton(qtText(kTextHelp), this);
  helpButton_->setEnabled(static_cast<bool>(help_));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &CPrintListDlg::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(setup_, &QPushButton::clicked, this, &CPrintListDlg::printSetup);
  connect(preview_, &QPushButton::clicked, this, &CPrintListDlg::showPreview);
  connect(clearAll_, &QPushButton::clicked, this, &CPrintListDlg::clearAll);
  connect(selectAll_, &QPushButton::clicked, this, &CPrintListDlg::selectAll);
  connect(helpButton_, &QPushButton::clicked, this, [this] { showHelpFor(nullptr); });
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] { showHelpFor(QApplication::focusWidget()); });

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {ok_, cancel_, setup_, preview_, clearAll_, selectAll_, helpButton_})
    buttons->addWidget(button);
  buttons->insertSpacing(2, 10);
  buttons->addStretch();
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(18, 16, 18, 16);
  columns->addLayout(fields);
  columns->setAlignment(fields, Qt::AlignTop);
  columns->addSpacing(20);
  columns->addLayout(buttons);
  columns->setSizeConstraint(QLayout::SetFixedSize);

  const PrintSelection defaults = PrintSelection::printListDefault(data_.channelCount());
  sections_[Model]->setChecked(defaults.model);
  showRange();
  updateEnables();
  recount();
}

bool CPrintListDlg::anySectionChecked() const {
  for (const QCheckBox* box : sections_)
    if (box->isChecked()) return true;
  return false;
}

void CPrintListDlg::updateEnables() {
  const bool channels = sections_[Channels]->isChecked();
  start_->setEnabled(channels);
  end_->setEnabled(channels);
  const bool any = anySectionChecked();
  ok_->setEnabled(any);
  preview_->setEnabled(any);
}

PrintSelection CPrintListDlg::selectionWith(const PrintRange& range) const {
  PrintSelection selection;
  selection.model = sections_[Model]->isChecked();
  selection.features = sections_[Features]->isChecked();
  selection.keys = sections_[Keys]->isChecked();
  selection.testFrequencies = sections_[TestFrequencies]->isChecked();
  selection.channels = sections_[Channels]->isChecked();
  selection.firstChannel = range.first();
  selection.lastChannel = range.last();
  return selection;
}

PrintSelection CPrintListDlg::selection() {
  if (start_->edit()->hasFocus()) commitStart();
  if (end_->edit()->hasFocus()) commitEnd();
  return selectionWith(range_);
}

void CPrintListDlg::recount() {
  // An entry still being typed counts as it will be once finished.
  PrintRange pending = range_;
  if (start_->edit()->hasFocus())
    pending.setFirst(NumberText::parseLeadingInteger(start_->text().toStdString()));
  if (end_->edit()->hasFocus()) pending.setLast(NumberText::parseLeadingInteger(end_->text().toStdString()));
  const PrintSelection current = selectionWith(pending);
  pageCount_->setText(
      QString::fromStdString(formatText(" %d", {PagePlan::planPages(current, data_).pageCount()})));
}

void CPrintListDlg::showRange() {
  start_->setText(QString::number(range_.first()));
  end_->setText(QString::number(range_.last()));
}

void CPrintListDlg::typed(CSpinEdit* field) {
  const QString text = field->text();
  // An emptied field is being retyped; it is settled when the entry is finished.
  if (text.isEmpty()) return;
  std::string clamped = text.toStdString();
  range_.clampTyped(clamped);
  if (QString::fromStdString(clamped) != text) {
    field->setText(QString::fromStdString(clamped));
    field->edit()->setCursorPosition(static_cast<int>(clamped.size()));
  }
  recount();
}

void CPrintListDlg::commitStart() {
  std::string text = start_->text().toStdString();
  range_.setFirst(range_.clampTyped(text));
  showRange();
  recount();
}

void CPrintListDlg::commitEnd() {
  std::string text = end_->text().toStdString();
  range_.setLast(range_.clampTyped(text));
  showRange();
  recount();
}

void CPrintListDlg::spin(CSpinEdit* field, int direction) {
  if (field == start_) {
    commitStart();
    range_.stepFirst(direction);
  } else {
    commitEnd();
    range_.stepLast(direction);
  }
  showRange();
  recount();
  field->edit()->selectAll();
}

void CPrintListDlg::clearAll() {
  for (QCheckBox* box : sections_)
    box->setChecked(false);
  updateEnables();
  recount();
}

void CPrintListDlg::selectAll() {
  for (QCheckBox* box : sections_)
    box->setChecked(true);
  range_.reset();
  showRange();
  updateEnables();
  recount();
}

void CPrintListDlg::printSetup() {
  printing_.pageSetup(this);
  recount();
}

void CPrintListDlg::showPreview() {
  printing_.previewImage(this, selection());
}

void CPrintListDlg::accept() {
  if (!anySectionChecked()) return;
  const PrintSelection chosen = selection();
  if (purpose_ == Purpose::ExportPdf) {
    if (printing_.exportPdf(chosen)) QDialog::accept();
    return;
  }
  printing_.printImage(this, chosen);
  QDialog::accept();
}

bool CPrintListDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      auto* field = watched == start_->edit() ? start_ : end_;
      focusNeighbour(this, field, true);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CPrintListDlg::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  QWidget* focus = QApplication::focusWidget();
  if (enter && focus && !qobject_cast<QPushButton*>(focus)) {
    focusNeighbour(this, focus, true);
    return;
  }
  QDialog::keyPressEvent(event);
}

void CPrintListDlg::showHelpFor(QWidget* focus) {
  if (help_) help_(focus == preview_ ? kPreviewHelpContext : kHelpContext);
}

} // namespace vpr
