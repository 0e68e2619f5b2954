#pragma once
// Several radios at once: one image written into the radios on several ports, or the image of
// each of them read. Every port gets a connection of its own (never the process-wide
// g_radioComm, which stays the single-radio paths') and a thread of its own, and runs the
// ordinary safe write or read on it, so that a port never waits for or disturbs another.
//
// Nothing of a port's transfer reaches the person at the screen directly: what it would show is
// collected in the port's result, the model question is answered by the options (or passed to
// the caller's question callback), and progress goes to the caller's callback, called on the
// port's thread. A cancel flag stops every port at
// its next exchange with its radio; the port then fails as if its radio had stopped answering,
// so a radio left half-written is named as such.
//
// Port names are resolved, results printed and the job record kept by the callers.

#include "lang/UserInterface.h"
#include "link/RadioTransfer.h"
#include "model/RadioImage.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vpr {

// A port of the batch: the name the user gave it and the device it opens.
struct FleetPort {
  std::string name;
  std::string device;
};

struct FleetPortResult {
  std::string name;
  std::string device;
  // The transfer's result (0 done, 1 failed, 2 done but closing the port failed); 1 also for a
  // port refused at the start, which never talked to its radio.
  int status = 1;
  bool started = false;   // the port was opened and its transfer ran
  bool cancelled = false; // the cancel flag stopped it
  bool declined = false;  // the question about another model was answered with Cancel
  // The errors and warnings the transfer showed, in order.
  std::vector<std::string> messages;
  // The radio's model code in image order, once known: for a write when the radio was found
  // fit to be written, for a read from the image read.
  std::optional<ModelCode> radioCode;
  WriteReport write;  // a write's report
  RadioImage image{}; // a read's image, when status is 0

  bool succeeded() const { return status == 0; }
  // The messages on one line, for tables and records.
  std::string messageLine() const;
};

struct FleetOptions {
  // The answer to the question about a radio of another model or band, for every port: OK when
  // set, otherwise Cancel (the write is refused for that port only).
  bool assumeYes = false;
  // When set, asks the question about a radio of another model or band instead, on the port's
  // thread, and may block until it has the answer; several ports may ask at once.
  std::function<MessageAnswer(std::size_t port, const MessageRequest& request)> ask;
  // Before any port starts, on the caller's thread: a reason not to start the port, or empty.
  std::function<std::string(std::size_t port)> admit;
  // Progress of a port: done of total with its label, on the port's thread.
  std::function<void(std::size_t port, int done, int total, const std::string& label)> progress;
  // A port's transfer ended (or the port was refused), on the port's thread (the caller's for a
  // refusal). Several ports may end at once.
  std::function<void(std::size_t port, const FleetPortResult& result)> finished;
  // Set by anyone at any time: every port stops at its next exchange.
  const std::atomic<bool>* cancel = nullptr;
};

// Writes the image into every port's radio at once with the given safety; returns when every
// port has ended, a result per port in the order given. A port named twice, a device that does
// not exist or that another program holds, and a port the admit function refuses are refused
// at the start, with their reason, before any port talks to its radio.
std::vector<FleetPortResult> writeFleet(const std::vector<FleetPort>& ports, const RadioImage& image,
                                        const WriteSafety& safety, const FleetOptions& options);

// Reads the image of every port's radio at once, likewise.
std::vector<FleetPortResult> readFleet(const std::vector<FleetPort>& ports, const FleetOptions& options);

// The radio's identification as text: the model code's characters in reading order, then the
// band byte and the last two bytes in hexadecimal ("P4410 01 00 00").
std::string identityText(const ModelCode& code);

} // namespace vpr
