#pragma once
// One batch of radios written at once, watched from the user-interface thread: the core's fleet
// write runs on a thread of its own (each port on a thread of its own below it), and what it
// reports comes back to this object's thread as signals, so the windows stay responsive.
//
// A port's question about a radio of another model waits on its thread until answer() is
// called; ports ask one at a time. stop() makes every port stop at its next exchange with its
// radio and answers a pending question with Cancel. Destroying the object stops the batch and
// waits for it. Each radio's line goes into the job record on its own thread as it ends.

#include "link/FleetRecorder.h"
#include "link/RadioFleet.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vpr {

class FleetWriteRun : public QObject {
  Q_OBJECT
public:
  explicit FleetWriteRun(QObject* parent = nullptr);
  ~FleetWriteRun() override;

  // Starts writing the image into the radios on the ports, recording each in the recorder's
  // job record as the given file. Nothing happens while a batch runs.
  void start(std::vector<FleetPort> ports, const RadioImage& image, const WriteSafety& safety,
             std::shared_ptr<FleetRecorder> recorder, const std::string& file);
  bool isRunning() const { return running_; }
  void stop();
  // The answer to the question of questionAsked.
  void answer(MessageAnswer answer);

signals:
  void progressed(int port, int done, int total, const QString& label);
  void questionAsked(int port, const QString& text);
  // recordProblem: why the radio's line could not go into the job record, or empty.
  void portFinished(int port, const vpr::FleetPortResult& result, const QString& recordProblem);
  void finished();

private:
  MessageAnswer ask(std::size_t port, const MessageRequest& request);

  std::thread worker_;
  bool running_ = false;
  std::atomic<bool> cancel_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool questionOpen_ = false;
  std::optional<MessageAnswer> answer_;
};

} // namespace vpr
