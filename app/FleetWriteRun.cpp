#include "app/FleetWriteRun.h"

namespace vpr {

FleetWriteRun::FleetWriteRun(QObject* parent) : QObject(parent) {}

FleetWriteRun::~FleetWriteRun() {
  stop();
  if (worker_.joinable()) worker_.join();
}

void FleetWriteRun::start(std::vector<FleetPort> ports, const RadioImage& image, const WriteSafety& safety,
                          std::shared_ptr<FleetRecorder> recorder, const std::string& file) {
  if (running_) return;
  if (worker_.joinable()) worker_.join();
  running_ = true;
  cancel_ = false;
  worker_ = std::thread([this, ports = std::move(ports), image, safety, recorder, file] {
    // Admitted only while the record can take lines: a radio written unrecorded is lost track of.
    const std::string recordProblem = recorder->problem();
    FleetOptions options;
    options.cancel = &cancel_;
    options.admit = [&](std::size_t) { return recordProblem; };
    options.ask = [this](std::size_t port, const MessageRequest& request) { return ask(port, request); };
    options.progress = [this](std::size_t port, int done, int total, const std::string& label) {
      QMetaObject::invokeMethod(
          this,
          [this, port, done, total, text = QString::fromStdString(label)] {
            emit progressed(static_cast<int>(port), done, total, text);
          },
          Qt::QueuedConnection);
    };
    options.finished = [&](std::size_t port, const FleetPortResult& result) {
      std::string problem;
      if (recordProblem.empty()) recorder->record(result, file, problem);
      QMetaObject::invokeMethod(
          this,
          [this, port, result, text = QString::fromStdString(problem)] {
            emit portFinished(static_cast<int>(port), result, text);
          },
          Qt::QueuedConnection);
    };
    writeFleet(ports, image, safety, options);
    QMetaObject::invokeMethod(
        this,
        [this] {
          running_ = false;
          emit finished();
        },
        Qt::QueuedConnection);
  });
}

void FleetWriteRun::stop() {
  const std::lock_guard<std::mutex> lock(mutex_);
  cancel_ = true;
  changed_.notify_all();
}

void FleetWriteRun::answer(MessageAnswer answer) {
  const std::lock_guard<std::mutex> lock(mutex_);
  answer_ = answer;
  changed_.notify_all();
}

MessageAnswer FleetWriteRun::ask(std::size_t port, const MessageRequest& request) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !questionOpen_ || cancel_; });
  if (cancel_) return MessageAnswer::Cancel;
  questionOpen_ = true;
  answer_.reset();
  QMetaObject::invokeMethod(
      this,
      [this, port, text = QString::fromStdString(request.text)] {
        emit questionAsked(static_cast<int>(port), text);
      },
      Qt::QueuedConnection);
  changed_.wait(lock, [this] { return answer_.has_value() || cancel_; });
  const MessageAnswer given = cancel_ ? MessageAnswer::Cancel : *answer_;
  questionOpen_ = false;
  answer_.reset();
  changed_.notify_all();
  return given;
}

} // namespace vpr
