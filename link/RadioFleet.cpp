#include "link/RadioFleet.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "link/CRadioComm.h"
#include "link/PortSurvey.h"

#include <cstdio>
#include <memory>
#include <thread>

namespace vpr {

namespace {

constexpr int kTextOpenFailed = 10026002;
constexpr int kTextListedTwice = 10068001;
constexpr int kTextCancelled = 10068002;

// A port's connection: the radio link, refusing to send anything once the cancel flag is set. An
// exchange already begun is finished: the answer to what was sent is still read, so that a block
// the radio took before the flag was set is counted as taken.
class FleetRadio : public CRadioComm {
public:
  explicit FleetRadio(const std::atomic<bool>* cancel) : cancel_(cancel) {}

  bool WriteByte(std::uint8_t byte) override { return !stopped() && CRadioComm::WriteByte(byte); }
  bool WriteString(const std::string& text) override { return !stopped() && CRadioComm::WriteString(text); }
  bool WriteBuffer(const std::uint8_t* data, std::size_t count) override {
    return !stopped() && CRadioComm::WriteBuffer(data, count);
  }
  bool stopped() const { return cancel_ != nullptr && cancel_->load(); }

private:
  const std::atomic<bool>* cancel_;
};

// The user-interface seam of one port: messages are collected in the port's result, the model
// question gets the batch's answer, progress goes to the caller with the port's index.
class PortInterface : public UserInterface {
public:
  PortInterface(std::size_t index, const FleetOptions& options, FleetPortResult& result)
      : index_(index), options_(options), result_(result) {}

  MessageAnswer showMessage(const MessageRequest& request) override {
    if (request.buttons == MessageButtons::OkCancel) {
      const MessageAnswer answer = options_.ask         ? options_.ask(index_, request)
                                   : options_.assumeYes ? MessageAnswer::Ok
                                                        : MessageAnswer::Cancel;
      if (answer == MessageAnswer::Ok) return answer;
      result_.messages.push_back(request.text);
      result_.declined = true;
      return MessageAnswer::Cancel;
    }
    result_.messages.push_back(request.text);
    return MessageAnswer::Ok;
  }
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int done, int total, const std::string& label) override {
    if (options_.progress) options_.progress(index_, done, total, label);
  }

private:
  std::size_t index_;
  const FleetOptions& options_;
  FleetPortResult& result_;
};

using PortTransfer = std::function<void(CRadioComm& radio, UserInterface& ui, FleetPortResult& result)>;

std::vector<FleetPortResult> runFleet(const std::vector<FleetPort>& ports, const FleetOptions& options,
                                      const PortTransfer& transfer) {
  std::vector<FleetPortResult> results(ports.size());
  std::vector<std::unique_ptr<FleetRadio>> radios(ports.size());
  auto refuse = [&](std::size_t i, std::string reason) {
    results[i].messages.push_back(std::move(reason));
    if (options.finished) options.finished(i, results[i]);
  };
  // Every port is checked, and held open, before any of them talks to its radio.
  for (std::size_t i = 0; i < ports.size(); ++i) {
    results[i].name = ports[i].name;
    results[i].device = ports[i].device;
    bool repeated = false;
    for (std::size_t j = 0; j < i; ++j)
      repeated = repeated || ports[j].device == ports[i].device;
    if (repeated) {
      refuse(i, textOf(kTextListedTwice));
      continue;
    }
    if (options.admit) {
      if (std::string reason = options.admit(i); !reason.empty()) {
        refuse(i, std::move(reason));
        continue;
      }
    }
    auto radio = std::make_unique<FleetRadio>(options.cancel);
    radio->SetPortPath(1, ports[i].device);
    radio->SetPortNumber(1);
    if (!radio->SetOpen(true)) {
      refuse(i, textOf(kTextOpenFailed) + " " + portOpenFailure(*radio));
      continue;
    }
    radios[i] = std::move(radio);
  }

  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (!radios[i]) continue;
    threads.emplace_back([&, i] {
      FleetPortResult& result = results[i];
      FleetRadio& radio = *radios[i];
      PortInterface ui(i, options, result);
      result.started = true;
      transfer(radio, ui, result);
      radio.SetOpen(false);
      if (result.status != 0 && radio.stopped()) {
        result.cancelled = true;
        result.messages.insert(result.messages.begin(), textOf(kTextCancelled));
      }
      if (options.finished) options.finished(i, result);
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  return results;
}

} // namespace

std::string FleetPortResult::messageLine() const {
  std::string line;
  for (const std::string& message : messages) {
    if (!line.empty()) line += ' ';
    for (const char c : message)
      line += c == '\n' || c == '\r' ? ' ' : c;
  }
  // Paragraph breaks leave runs of spaces behind.
  for (auto at = line.find("  "); at != std::string::npos; at = line.find("  "))
    line.erase(at, 1);
  return line;
}

std::vector<FleetPortResult> writeFleet(const std::vector<FleetPort>& ports, const RadioImage& image,
                                        const WriteSafety& safety, const FleetOptions& options) {
  return runFleet(ports, options, [&](CRadioComm& radio, UserInterface& ui, FleetPortResult& result) {
    result.status = runSafeWrite(radio, ui, image, safety, result.write);
    result.radioCode = result.write.radioCode;
  });
}

std::vector<FleetPortResult> readFleet(const std::vector<FleetPort>& ports, const FleetOptions& options) {
  return runFleet(ports, options, [](CRadioComm& radio, UserInterface& ui, FleetPortResult& result) {
    RadioImage image = clearedImage();
    result.status = runReadTransfer(radio, ui, image);
    if (result.status != 0) return;
    result.image = image;
    result.radioCode = modelCodeOf(image);
  });
}

std::string identityText(const ModelCode& code) {
  std::string text;
  for (std::size_t i = kModelCodeSize; i-- > 3;)
    text += static_cast<char>(code[i] >= 0x20 && code[i] < 0x7F ? code[i] : '?');
  char bytes[16];
  std::snprintf(bytes, sizeof bytes, " %02X %02X %02X", code[2], code[1], code[0]);
  return text + bytes;
}

} // namespace vpr
