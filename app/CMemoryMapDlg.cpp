#include "app/CMemoryMapDlg.h"

#include "app/DialogButtons.h"
#include "app/ScreenFit.h"
#include "model/MemoryMap.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr int kTextClose = 10002003;
constexpr int kTextHelp = 10002004;
constexpr int kTextAddress = 10018004;
// Column widths in units of 15 twips (pixels on a 96-dpi screen): the row header and the cells.
constexpr int kHeaderColumnWidth = 50;
constexpr int kCellColumnWidth = 28;
// The least of the table a small screen shows at once.
constexpr int kFewestRows = 4;
constexpr int kFewestColumns = 4;

bool isEnterKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMemoryMapDlg::CMemoryMapDlg(MemoryMap& map, HelpCallback help, QWidget* parent)
    : QDialog(parent), map_(map), grid_(new CEditGrid(this)), editor_(new CFilterEdit(this)),
      addressEdit_(new CFilterEdit(this)), addressStatic_(new QLabel(this)),
      charsBox_(new QCheckBox(qtText(MemoryMap::kTextShowCharacters), this)),
      closeButton_(new QPushButton(qtText(kTextClose), this)),
      helpButton_(new QPushButton(qtText(kTextHelp), this)), help_(std::move(help)) {
  setObjectName(QStringLiteral("memoryMap"));
  setWindowTitle(qtText(MemoryMap::kTextCaption));
  map_.open();

  grid_->setArrowWrap(false);
  grid_->setKeyHandler([this](QKeyEvent* event) { return gridKey(event); });
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->hide();
  editor_->setAlignment(Qt::AlignCenter);
  editor_->installEventFilter(this);
  connect(editor_, &CFilterEdit::focusLost, this, &CMemoryMapDlg::commitEditor);
  connect(grid_, &CEditGrid::rowColChanged, this, &CMemoryMapDlg::showAddress);
  connect(grid_, &CEditGrid::mouseDown, this,
          [this](Qt::MouseButton button, Qt::KeyboardModifiers, int row, int col) {
            if (button == Qt::LeftButton && row >= 1 && col >= 1) moveTo(row, col);
          });

  addressEdit_->setInputMode(CFilterEdit::HexInput);
  addressEdit_->setMaxLength(4);
  addressEdit_->installEventFilter(this);
  connect(addressEdit_, &CFilterEdit::focusLost, this, &CMemoryMapDlg::jumpToAddress);
  const int addressWidth = addressEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16;
  addressEdit_->setFixedWidth(addressWidth);
  addressStatic_->setFixedWidth(addressWidth);
  addressStatic_->setFrameShape(QFrame::StyledPanel);
  // Named for a screen reader, which has no label to read beside them.
  grid_->setAccessibleName(qtText(MemoryMap::kTextCaption));
  addressEdit_->setAccessibleName(qtText(kTextAddress));
  addressStatic_->setAccessibleName(qtText(kTextAddress));
  addressEdit_->setVisible(map_.addressEntry());
  addressStatic_->setVisible(!map_.addressEntry());

  charsBox_->setVisible(map_.charactersAvailable());
  charsBox_->setChecked(map_.showCharacters());
  connect(charsBox_, &QCheckBox::toggled, this, &CMemoryMapDlg::toggleCharacters);
  closeButton_->setAutoDefault(false);
  connect(closeButton_, &QPushButton::clicked, this, &CMemoryMapDlg::closeAndCommit);
  helpButton_->setAutoDefault(false);
  helpButton_->setEnabled(static_cast<bool>(help_));
  const auto showHelp = [this] {
    if (help_) help_(kHelpContext);
  };
  connect(helpButton_, &QPushButton::clicked, this, showHelp);
  addHelpKey(*this, showHelp);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(addressEdit_);
  bottom->addWidget(addressStatic_);
  bottom->addSpacing(16);
  bottom->addWidget(charsBox_);
  bottom->addStretch(1);
  bottom->addWidget(closeButton_);
  bottom->addWidget(helpButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(bottom);

  buildColumns();
  fillCells();
  grid_->setFocus(Qt::OtherFocusReason);
}

void CMemoryMapDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (positioned_) return;
  positioned_ = true;
  fitWindowOnScreens(*this);
  // The cursor and scroll position of the last Close (first time: offset 0 at the bottom left),
  // once the table has its size and can scroll.
  MemoryMap::Position position = map_.position();
  if (!map_.showCharacters() && MemoryMap::isCharColumn(position.col))
    position.col = MemoryMap::partnerColumn(position.col);
  grid_->setCell(position.row, position.col);
  grid_->setTopRow(position.topRow);
  showAddress();
}

bool CMemoryMapDlg::run(QWidget* parent, MemoryMap& map, const HelpCallback& help) {
  if (!map.isConfigured()) return false;
  CMemoryMapDlg dialog(map, help, parent);
  return dialog.exec() == QDialog::Accepted;
}

void CMemoryMapDlg::buildColumns() {
  const int cols = map_.columnCount();
  grid_->setGridSize(map_.rowCount() + 1, cols);
  const int digit = grid_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  const auto pixels = [digit](int width) { return std::max(width, width * digit / 7); };
  const QBrush fixedBrush = palette().brush(QPalette::Button);
  for (int c = 0; c < cols; ++c) {
    const bool cell = MemoryMap::isByteColumn(c) || MemoryMap::isCharColumn(c);
    auto* header = new QTableWidgetItem(cell ? fromUtf8(MemoryMap::columnHeaderText(c)) : QString());
    header->setTextAlignment(Qt::AlignCenter);
    grid_->setHorizontalHeaderItem(c, header);
    grid_->setColumnWidth(c, pixels(c == 0 ? kHeaderColumnWidth : kCellColumnWidth));
  }
  const int headerText = grid_->fontMetrics().horizontalAdvance(fromUtf8(map_.rowHeaderText(1))) + 8;
  grid_->setColumnWidth(0, std::max(grid_->columnWidth(0), headerText));
  for (int row = 1; row <= map_.rowCount(); ++row) {
    grid_->setCellText(row, 0, fromUtf8(map_.rowHeaderText(row)));
    for (int c = 1; c < cols; ++c) {
      QTableWidgetItem* item = grid_->item(row - 1, c);
      item->setTextAlignment(Qt::AlignCenter);
      if (c == MemoryMap::kSeparatorColumn) item->setBackground(fixedBrush);
    }
  }
  // A page of rows and every column when the screen has room; on a smaller (or scaled) screen
  // the table gets narrower and lower and scrolls, so that the Close button stays in reach.
  const int rowHeight = grid_->verticalHeader()->defaultSectionSize();
  const int header = 2 * grid_->frameWidth() + grid_->horizontalHeader()->sizeHint().height();
  grid_->setMaximumHeight(header + MemoryMap::kRowsPerPage * rowHeight);
  grid_->setMinimumHeight(header + kFewestRows * rowHeight +
                          grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_));
  grid_->allowNarrowing(grid_->columnWidth(0) + kFewestColumns * grid_->columnWidth(1));
}

void CMemoryMapDlg::fillCells() {
  const bool lock = grid_->updatesEnabled();
  if (lock) grid_->setUpdatesEnabled(false);
  for (int row = 1; row <= map_.rowCount(); ++row) {
    for (int col = 1; col <= MemoryMap::kLastByteColumn; ++col) {
      fillCell(row, col);
      if (map_.showCharacters()) fillCell(row, MemoryMap::partnerColumn(col));
    }
  }
  if (lock) grid_->setUpdatesEnabled(true);
}

void CMemoryMapDlg::fillCell(int row, int col) {
  const std::optional<std::size_t> offset = map_.offsetOf(row, col);
  if (!offset) return;
  const std::uint8_t value = map_.byteAt(*offset);
  QTableWidgetItem* item = grid_->item(row - 1, col);
  if (MemoryMap::isByteColumn(col)) {
    item->setText(fromUtf8(MemoryMap::byteText(value)));
    return;
  }
  item->setText(fromUtf8(MemoryMap::charText(value)));
  // A byte without a character of its own shows a dot, greyed so that it differs from 0xB7.
  item->setForeground(MemoryMap::hasVisibleChar(value) ? palette().brush(QPalette::Text)
                                                       : palette().brush(QPalette::Disabled, QPalette::Text));
}

void CMemoryMapDlg::showAddress() {
  const QString address = fromUtf8(map_.addressText(grid_->row(), grid_->col()));
  addressEdit_->setText(address);
  addressStatic_->setText(address);
}

void CMemoryMapDlg::moveTo(int row, int col) {
  grid_->setCell(row, col);
  grid_->scrollToItem(grid_->currentItem());
}

void CMemoryMapDlg::moveRight() {
  const int row = grid_->row();
  const int col = grid_->col();
  if (col == MemoryMap::kLastByteColumn || col == MemoryMap::kLastCharColumn) {
    if (row > 1) moveTo(row - 1, col == MemoryMap::kLastByteColumn ? 1 : MemoryMap::kFirstCharColumn);
  } else if (col + 1 < grid_->cols()) {
    moveTo(row, col + 1);
  }
}

void CMemoryMapDlg::moveLeft() {
  const int row = grid_->row();
  const int col = grid_->col();
  if (col == 1 || col == MemoryMap::kFirstCharColumn) {
    if (row < map_.rowCount())
      moveTo(row + 1, col == 1 ? MemoryMap::kLastByteColumn : MemoryMap::kLastCharColumn);
  } else if (col > 1) {
    moveTo(row, col - 1);
  }
}

bool CMemoryMapDlg::gridKey(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods.testFlag(Qt::ControlModifier);
  const int row = grid_->row();
  const int col = grid_->col();
  const bool chars = map_.showCharacters();
  switch (key) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    beginEdit(false);
    return true;
  case Qt::Key_Backspace:
  case Qt::Key_Delete:
    beginEdit(true);
    return true;
  case Qt::Key_Right:
    if (mods.testFlag(Qt::ShiftModifier)) return false;
    moveRight();
    return true;
  case Qt::Key_Left:
    if (mods.testFlag(Qt::ShiftModifier)) return false;
    moveLeft();
    return true;
  case Qt::Key_Tab:
    if (!ctrl || !chars) return false;
    moveTo(row, MemoryMap::partnerColumn(col));
    return true;
  case Qt::Key_Home:
    if (!chars || !MemoryMap::isCharColumn(col)) return false;
    moveTo(ctrl ? 1 : row, MemoryMap::kFirstCharColumn);
    return true;
  case Qt::Key_End:
    if (!chars || !MemoryMap::isByteColumn(col)) return false;
    moveTo(ctrl ? map_.rowCount() : row, MemoryMap::kLastByteColumn);
    return true;
  default:
    break;
  }
  const QString typed = event->text();
  if (typed.isEmpty() || (mods & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))) return false;
  const int mode = MemoryMap::isCharColumn(col) ? CFilterEdit::AnyInput : CFilterEdit::HexInput;
  if (!CFilterEdit::filterChar(mode, QString(), 0, 0, typed.front())) return false;
  if (beginEdit(false)) {
    QKeyEvent copy(QEvent::KeyPress, key, mods, typed);
    QCoreApplication::sendEvent(editor_, &copy);
  }
  return true;
}

bool CMemoryMapDlg::beginEdit(bool empty) {
  int row = grid_->row();
  int col = grid_->col();
  if (col == MemoryMap::kSeparatorColumn) {
    moveTo(row, MemoryMap::kFirstCharColumn);
    return false;
  }
  if (!map_.editing() || !map_.offsetOf(row, col)) return false;
  const bool charCell = MemoryMap::isCharColumn(col);
  editor_->setInputMode(charCell ? CFilterEdit::AnyInput : CFilterEdit::HexInput);
  editor_->setMaxLength(charCell ? 1 : 2);
  // A dot shown for a byte without a character is no character to edit.
  const bool placeholder = charCell && !MemoryMap::hasVisibleChar(map_.byteAt(*map_.offsetOf(row, col)));
  startedEmpty_ = empty;
  abandon_ = false;
  return grid_->openTextEditor(editor_, empty || placeholder ? QString() : grid_->cellText(row, col), true);
}

void CMemoryMapDlg::commitEditor() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::Text) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  const QString text = editor_->text();
  const std::optional<std::size_t> offset = map_.offsetOf(row, col);
  std::optional<std::uint8_t> value;
  // Only an entry stores: an editor left as it opened changes nothing.
  const bool entered = !abandon_ && (editor_->isModified() || startedEmpty_);
  if (entered && MemoryMap::isByteColumn(col))
    value = MemoryMap::byteOfHexEntry(text.toStdString());
  else if (entered)
    value = MemoryMap::byteOfCharEntry(text.isEmpty() ? std::nullopt
                                                      : std::optional<char32_t>(text.front().unicode()));
  grid_->closeEditor(true);
  if (offset && value) map_.setByte(*offset, *value);
  fillCell(row, col);
  if (map_.showCharacters()) fillCell(row, MemoryMap::partnerColumn(col));
  committing_ = false;
}

bool CMemoryMapDlg::editorKey(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    // The cell keeps what it showed before the editor opened.
    abandon_ = true;
    editor_->setText(grid_->savedCellText());
    grid_->setFocus(Qt::OtherFocusReason);
    commitEditor();
    return true;
  }
  if (isEnterKey(key)) {
    grid_->setFocus(Qt::OtherFocusReason);
    commitEditor();
    moveRight();
    return true;
  }
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    grid_->setFocus(Qt::OtherFocusReason);
    commitEditor();
    return true;
  }
  return false;
}

bool CMemoryMapDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == editor_ && editorKey(key)) return true;
    if (watched == addressEdit_ && isEnterKey(key->key())) {
      grid_->setFocus(Qt::OtherFocusReason);
      jumpToAddress();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CMemoryMapDlg::keyPressEvent(QKeyEvent* event) {
  // The buttons are not auto-default (Enter edits the table), so Enter on one is pressed here.
  if (!pressFocusedButton(*event)) QDialog::keyPressEvent(event);
}

void CMemoryMapDlg::jumpToAddress() {
  const std::optional<std::size_t> offset = map_.offsetOfAddress(addressEdit_->text().toStdString());
  if (offset) {
    const MemoryMap::Cell cell = map_.byteCellOf(*offset);
    grid_->setCell(cell.row, cell.col);
    grid_->setTopRow(map_.pageTopRow(*offset));
  }
  showAddress();
}

void CMemoryMapDlg::toggleCharacters(bool show) {
  if (show == map_.showCharacters()) return;
  grid_->setFocus(Qt::OtherFocusReason);
  commitEditor();
  const int row = grid_->row();
  int col = grid_->col();
  const int top = grid_->topRow();
  map_.setShowCharacters(show);
  if (!show && col >= MemoryMap::kSeparatorColumn)
    col = MemoryMap::isCharColumn(col) ? MemoryMap::partnerColumn(col) : MemoryMap::kLastByteColumn;
  buildColumns();
  fillCells();
  // The window follows the table's new width as far as the screen allows.
  adjustSize();
  fitWindowOnScreens(*this);
  grid_->setCell(row, col);
  grid_->setTopRow(top);
  showAddress();
}

void CMemoryMapDlg::closeAndCommit() {
  grid_->setFocus(Qt::OtherFocusReason);
  commitEditor();
  const bool changed = map_.commit({grid_->topRow(), grid_->row(), grid_->col()});
  done(changed ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace vpr
