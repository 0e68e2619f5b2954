#pragma once
// The Write to Several Radios dialog: lists the twenty numbered ports with their devices (those
// a radio can be reached through are ticked by the user, the others greyed with the reason),
// writes the working image into the radios on the ticked ports at once, with a progress bar
// and a status line for each, and shows each radio's model, result and backup. Afterwards it
// offers to write the failed ones again, and the next batch once the radios have been swapped.
//
// Each radio gets the single write's model question (asked per radio, naming its port), backup
// and read-back check, and a line in the job record. The writing runs on threads (see
// FleetWriteRun); closing the dialog meanwhile asks first, then stops every radio at its next
// exchange and names those left holding part of the new data.

#include "app/FleetWriteRun.h"
#include "app/HelpCallback.h"
#include "link/PortSurvey.h"

#include <QDialog>
#include <array>
#include <thread>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vpr {

class CComPort;
class UserInterface;

class CFleetWriteDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kPortCount = 20;
  static constexpr int kHelpContext = 0x55000;

  // What a batch writes and where it keeps its record.
  struct Job {
    RadioImage image{};
    WriteSafety safety;
    std::string recordPath; // the job record
    std::string file;       // the data file the record names
  };

  // paths maps the port numbers to their devices.
  CFleetWriteDlg(const CComPort& paths, Job job, UserInterface& ui, HelpCallback help,
                 QWidget* parent = nullptr);
  ~CFleetWriteDlg() override;

  // Runs the dialog modally over parent with the process-wide radio link's port devices.
  static void run(QWidget* parent, UserInterface& ui, const HelpCallback& help, Job job);

  // Port n's row (1..20).
  QCheckBox* portBox(int number) const { return rows_[number - 1].box; }
  QProgressBar* portBar(int number) const { return rows_[number - 1].bar; }
  QString statusText(int number) const;
  QString modelText(int number) const;
  QString backupPath(int number) const;
  bool isWriting() const { return run_.isRunning(); }

  void reject() override;

signals:
  void surveyFinished();
  void batchFinished();

private:
  struct Row {
    std::string devicePath;
    QCheckBox* box = nullptr;
    QLabel* device = nullptr;
    QProgressBar* bar = nullptr;
    QLabel* status = nullptr;
    QLabel* model = nullptr;
    QLabel* backup = nullptr;
    bool usable = false;
    bool failed = false; // in the last batch
  };

  void showSurvey(const std::vector<PortState>& states);
  void startBatch(const std::vector<int>& numbers);
  void showProgress(int port, int done, int total, const QString& label);
  void askAbout(int port, const QString& text);
  void showResult(int port, const FleetPortResult& result, const QString& recordProblem);
  void endBatch();
  void updateButtons();
  std::vector<int> tickedPorts() const;

  Job job_;
  UserInterface& ui_;
  HelpCallback help_;
  std::shared_ptr<FleetRecorder> recorder_;
  std::array<Row, kPortCount> rows_;
  std::vector<int> batch_; // the port numbers of the batch running or last run
  std::vector<FleetPortResult> results_;
  std::thread survey_;
  bool surveyed_ = false;
  bool stopping_ = false;
  QLabel* summary_ = nullptr;
  QPushButton* selectAllButton_ = nullptr;
  QPushButton* writeButton_ = nullptr;
  QPushButton* retryButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  FleetWriteRun run_;
};

} // namespace vpr
