#include "app/CFleetWriteDlg.h"

#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "link/CRadioComm.h"
#include "model/ModelCatalogue.h"
#include "views/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

namespace vpr {

namespace {

constexpr int kTextWrite = 10002006;
constexpr int kTextClose = 10002003;
constexpr int kTextHelp = 10002004;
constexpr int kTextKeepConnected = 10017013;
constexpr int kTextCancelled = 10026008;
constexpr int kTextColumnPort = 10068101;
constexpr int kTextColumnModel = 10068102;
constexpr int kTextColumnResult = 10068103;
constexpr int kTextColumnBackup = 10068104;
constexpr int kTextRadioDone = 10068106;
constexpr int kTextRadioFailed = 10068107;
constexpr int kTextRadiosDone = 10068109;
constexpr int kTextCaption = 10068210;
constexpr int kTextBusyCaption = 10068211;
constexpr int kTextColumnDevice = 10068212;
constexpr int kTextRetryFailed = 10068213;
constexpr int kTextNextBatch = 10068214;
constexpr int kTextSelectAll = 10068215;
constexpr int kTextLookingForPorts = 10068216;
constexpr int kTextHint = 10068217;
constexpr int kTextStopQuestion = 10068218;
constexpr int kTextStoppedPartWay = 10068219;

// Widest device path and backup path shown, in pixels; the tooltip has them whole.
constexpr int kMaxPathWidth = 150;
constexpr int kMaxBackupWidth = 300;
constexpr int kStatusWidth = 300;

enum Column { PortColumn, DeviceColumn, BarColumn, StatusColumn, ModelColumn, BackupColumn };

QString portName(int number) {
  return QStringLiteral("COM%1").arg(number);
}

void setElided(QLabel* label, const QString& text, int width, Qt::TextElideMode mode = Qt::ElideMiddle) {
  label->setText(label->fontMetrics().elidedText(text, mode, width));
  label->setToolTip(text);
}

} // namespace

CFleetWriteDlg::CFleetWriteDlg(const CComPort& paths, Job job, UserInterface& ui, HelpCallback help,
                               QWidget* parent)
    : QDialog(parent), job_(std::move(job)), ui_(ui), help_(std::move(help)),
      recorder_(std::make_shared<FleetRecorder>(
          job_.recordPath, [](int id) { return textOf(id); }, textOf(kTextCancelled))) {
  setWindowTitle(qtText(kTextCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* hint = new QLabel(qtText(kTextHint), this);
  hint->setWordWrap(true);
  auto* note = new QLabel(qtText(kTextKeepConnected), this);
  note->setWordWrap(true);

  auto* table = new QWidget;
  auto* grid = new QGridLayout(table);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(4);
  const std::pair<Column, int> headers[] = {{PortColumn, kTextColumnPort},
                                            {DeviceColumn, kTextColumnDevice},
                                            {StatusColumn, kTextColumnResult},
                                            {ModelColumn, kTextColumnModel},
                                            {BackupColumn, kTextColumnBackup}};
  for (const auto& [column, text] : headers) {
    auto* header = new QLabel(qtText(text), table);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    grid->addWidget(header, 0, column);
  }
  for (int n = 1; n <= kPortCount; ++n) {
    Row& row = rows_[n - 1];
    row.box = new QCheckBox(portName(n), table);
    row.box->setObjectName(portName(n));
    row.box->setEnabled(false);
    connect(row.box, &QCheckBox::toggled, this, &CFleetWriteDlg::updateButtons);
    row.device = new QLabel(table);
    row.devicePath = paths.PortPath(n);
    setElided(row.device, toQString(row.devicePath), kMaxPathWidth);
    row.device->setEnabled(false);
    row.device->setBuddy(row.box);
    row.bar = new QProgressBar(table);
    row.bar->setTextVisible(false);
    row.bar->setFixedWidth(120);
    row.bar->setEnabled(false);
    row.bar->setAccessibleName(portName(n));
    row.status = new QLabel(table);
    row.status->setWordWrap(true);
    row.status->setFixedWidth(kStatusWidth);
    row.status->setEnabled(false);
    row.model = new QLabel(table);
    row.backup = new QLabel(table);
    QWidget* const cells[] = {row.box, row.device, row.bar, row.status, row.model, row.backup};
    for (int column = 0; column < 6; ++column)
      grid->addWidget(cells[column], n, column, Qt::AlignVCenter);
  }
  // Room for the longest model title and a shortened backup path, so the rows do not widen later.
  int modelWidth = 0;
  for (int row = 0; row < ModelCatalogue::kRowCount; ++row)
    modelWidth = qMax(modelWidth, fontMetrics().horizontalAdvance(toQString(
                                      ModelCatalogue::titleText(ModelCatalogue::modelCodeForRow(row)))));
  grid->setColumnMinimumWidth(ModelColumn, modelWidth);
  grid->setColumnMinimumWidth(BackupColumn, kMaxBackupWidth);
  grid->setRowStretch(kPortCount + 1, 1);
  auto* scroll = new QScrollArea(this);
  scroll->setAccessibleName(windowTitle());
  scroll->setWidget(table);
  scroll->setWidgetResizable(true);

  summary_ = new QLabel(qtText(kTextLookingForPorts), this);
  summary_->setObjectName("summary");

  auto* buttons = new QDialogButtonBox(this);
  selectAllButton_ = buttons->addButton(qtText(kTextSelectAll), QDialogButtonBox::ActionRole);
  selectAllButton_->setObjectName("selectAllButton");
  writeButton_ = buttons->addButton(qtText(kTextWrite), QDialogButtonBox::ActionRole);
  writeButton_->setObjectName("writeButton");
  writeButton_->setDefault(true);
  retryButton_ = buttons->addButton(qtText(kTextRetryFailed), QDialogButtonBox::ActionRole);
  retryButton_->setObjectName("retryButton");
  closeButton_ = buttons->addButton(qtText(kTextClose), QDialogButtonBox::RejectRole);
  closeButton_->setObjectName("closeButton");
  helpButton_ = buttons->addButton(qtText(kTextHelp), QDialogButtonBox::HelpRole);
  helpButton_->setObjectName("helpButton");
  helpButton_->setEnabled(static_cast<bool>(help_));
  connect(selectAllButton_, &QPushButton::clicked, this, [this] {
    for (Row& row : rows_)
      if (row.usable) row.box->setChecked(true);
  });
  connect(writeButton_, &QPushButton::clicked, this, [this] { startBatch(tickedPorts()); });
  connect(retryButton_, &QPushButton::clicked, this, [this] {
    std::vector<int> failed;
    for (const int n : batch_)
      if (rows_[n - 1].failed) failed.push_back(n);
    startBatch(failed);
  });
  connect(closeButton_, &QPushButton::clicked, this, &CFleetWriteDlg::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_(kHelpContext); });
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] {
    if (help_) help_(kHelpContext);
  });

  connect(&run_, &FleetWriteRun::progressed, this, &CFleetWriteDlg::showProgress);
  connect(&run_, &FleetWriteRun::questionAsked, this, &CFleetWriteDlg::askAbout);
  connect(&run_, &FleetWriteRun::portFinished, this, &CFleetWriteDlg::showResult);
  connect(&run_, &FleetWriteRun::finished, this, &CFleetWriteDlg::endBatch);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->addWidget(hint);
  layout->addWidget(note);
  layout->addWidget(scroll, 1);
  layout->addWidget(summary_);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  updateButtons();
  // Every row in view where the screen has room; on a small or scaled screen the rows scroll.
  const QSize whole = sizeHint() + table->sizeHint() - scroll->sizeHint() + QSize(24, 4);
  const QRect room = (parent ? parent->screen() : screen())->availableGeometry();
  resize(qMin(whole.width(), room.width() * 9 / 10), qMin(whole.height(), room.height() * 9 / 10));

  // Opening twenty devices takes a moment: the rows light up when the survey is done.
  std::vector<std::string> devices;
  for (const Row& row : rows_)
    devices.push_back(row.devicePath);
  survey_ = std::thread([this, devices] {
    const std::vector<PortState> found = surveyPorts(devices);
    QMetaObject::invokeMethod(
        this, [this, found] { showSurvey(found); }, Qt::QueuedConnection);
  });
}

CFleetWriteDlg::~CFleetWriteDlg() {
  survey_.join();
}

void CFleetWriteDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help, Job job) {
  CFleetWriteDlg dialog(g_radioComm, std::move(job), ui, help, parent);
  dialog.exec();
}

QString CFleetWriteDlg::statusText(int number) const {
  return rows_[number - 1].status->text();
}

QString CFleetWriteDlg::modelText(int number) const {
  return rows_[number - 1].model->text();
}

QString CFleetWriteDlg::backupPath(int number) const {
  return rows_[number - 1].backup->toolTip();
}

void CFleetWriteDlg::showSurvey(const std::vector<PortState>& states) {
  for (const PortState& state : states) {
    Row& row = rows_[state.number - 1];
    row.usable = state.usable;
    row.box->setEnabled(state.usable);
    row.device->setEnabled(state.usable);
    row.status->setText(toQString(state.reason));
  }
  surveyed_ = true;
  summary_->clear();
  updateButtons();
  emit surveyFinished();
}

std::vector<int> CFleetWriteDlg::tickedPorts() const {
  std::vector<int> numbers;
  for (int n = 1; n <= kPortCount; ++n)
    if (rows_[n - 1].box->isChecked() && rows_[n - 1].usable) numbers.push_back(n);
  return numbers;
}

void CFleetWriteDlg::updateButtons() {
  const bool idle = surveyed_ && !run_.isRunning();
  for (Row& row : rows_)
    row.box->setEnabled(idle && row.usable);
  selectAllButton_->setEnabled(idle);
  writeButton_->setEnabled(idle && !tickedPorts().empty());
  retryButton_->setEnabled(
      idle && std::any_of(batch_.begin(), batch_.end(), [this](int n) { return rows_[n - 1].failed; }));
  closeButton_->setEnabled(!stopping_);
}

void CFleetWriteDlg::startBatch(const std::vector<int>& numbers) {
  if (numbers.empty() || run_.isRunning()) return;
  batch_ = numbers;
  results_.assign(numbers.size(), FleetPortResult{});
  std::vector<FleetPort> ports;
  for (const int n : numbers) {
    Row& row = rows_[n - 1];
    row.failed = false;
    row.bar->setEnabled(true);
    row.bar->setRange(0, kWriteBlockCount);
    row.bar->setValue(0);
    row.status->setEnabled(true);
    row.status->clear();
    row.model->clear();
    setElided(row.backup, {}, kMaxBackupWidth, Qt::ElideLeft);
    ports.push_back({portName(n).toStdString(), row.devicePath});
  }
  setWindowTitle(qtText(kTextBusyCaption));
  summary_->clear();
  run_.start(std::move(ports), job_.image, job_.safety, recorder_, job_.file);
  updateButtons();
}

void CFleetWriteDlg::showProgress(int port, int done, int total, const QString& label) {
  Row& row = rows_[batch_[port] - 1];
  if (done == 0) row.bar->setRange(0, total);
  row.bar->setValue(done);
  row.status->setText(label);
}

void CFleetWriteDlg::askAbout(int port, const QString& text) {
  MessageRequest request;
  request.kind = MessageKind::Confirmation;
  request.text = portName(batch_[port]).toStdString() + ": " + text.toStdString();
  request.buttons = MessageButtons::OkCancel;
  run_.answer(ui_.showMessage(request));
}

void CFleetWriteDlg::showResult(int port, const FleetPortResult& result, const QString& recordProblem) {
  results_[port] = result;
  Row& row = rows_[batch_[port] - 1];
  row.failed = !result.succeeded();
  QString status = result.succeeded()
                       ? qtText(kTextRadioDone)
                       : toQString(formatText(textOf(kTextRadioFailed), {recorder_->failureText(result)}));
  if (!recordProblem.isEmpty()) status += QLatin1Char(' ') + recordProblem;
  row.status->setText(status);
  if (result.succeeded()) row.bar->setValue(row.bar->maximum());
  row.model->setText(toQString(recorder_->modelText(result)));
  setElided(row.backup, toQString(result.write.backupPath), kMaxBackupWidth, Qt::ElideLeft);
}

void CFleetWriteDlg::endBatch() {
  setWindowTitle(qtText(kTextCaption));
  const auto done =
      std::count_if(results_.begin(), results_.end(), [](const auto& r) { return r.succeeded(); });
  summary_->setText(toQString(
      formatText(textOf(kTextRadiosDone), {static_cast<int>(done), static_cast<int>(results_.size())})));
  writeButton_->setText(qtText(kTextNextBatch));
  updateButtons();
  emit batchFinished();
  if (!stopping_) return;
  // Closing was asked for while writing: name the radios stopped part way, then close.
  QStringList partWay;
  for (std::size_t i = 0; i < results_.size(); ++i) {
    const int blocks = results_[i].write.blocksAcknowledged;
    if (!results_[i].succeeded() && blocks > 0 && blocks < kWriteBlockCount) partWay << portName(batch_[i]);
  }
  if (!partWay.isEmpty())
    ui_.warning(formatText(textOf(kTextStoppedPartWay), {partWay.join(QStringLiteral(", ")).toStdString()}));
  stopping_ = false;
  QDialog::reject();
}

void CFleetWriteDlg::reject() {
  if (stopping_) return;
  if (!run_.isRunning()) {
    QDialog::reject();
    return;
  }
  if (!ui_.confirm(textOf(kTextStopQuestion))) return;
  // The batch may have ended while the question was up.
  if (!run_.isRunning()) {
    QDialog::reject();
    return;
  }
  stopping_ = true;
  run_.stop();
  updateButtons();
}

} // namespace vpr
