#include "link/RecordedWrite.h"

#include "lang/MessageCollector.h"
#include "link/CRadioComm.h"

namespace vpr {

RecordedWrite writeAndRecord(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage,
                             const WriteSafety& safety, FleetRecorder& recorder, const std::string& portName,
                             const std::string& file) {
  RecordedWrite done;
  done.outcome.name = portName;
  done.recordProblem = recorder.problem();
  if (!done.recordProblem.empty()) return done;
  done.outcome.device = radio.DeviceName();
  MessageCollector collector(ui);
  done.outcome.status = runSafeWrite(radio, collector, editImage, safety, done.outcome.write);
  done.outcome.started = true;
  done.outcome.messages = collector.messages;
  done.outcome.radioCode = done.outcome.write.radioCode;
  recorder.record(done.outcome, file, done.recordProblem);
  return done;
}

} // namespace vpr
