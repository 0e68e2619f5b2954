#include "sim/VirtualRadio.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace vpr::sim {

namespace {

constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;
constexpr std::uint8_t STX = 0x02;
constexpr char kProgram[] = "PROGRAM";
constexpr char kIdentityText[] = "VESKARO";
constexpr char kSharedCode[] = "P5390";
// How long the radio waits for the rest of a command before it forgets the part it has.
constexpr std::chrono::milliseconds kCommandGap{1000};
constexpr std::size_t kModelCodeAt = 0x3D0;
// K function code of the transmitter key, and the code whose first press begins every entry
// into an adjustment mode.
constexpr std::uint8_t kTransmitKey = 0x11;
constexpr std::uint8_t kAdjustEntryKey = 0x13;
// The code that pressed with kAdjustEntryKey switches the adjustment mode.
constexpr std::uint8_t kModeKey = 0x17;

std::string hex(int value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  return text;
}

// The memory byte an adjustment value goes to: by its letter, and for the deviation letters by
// whether the adjustment mode was entered with 'n' (the narrow items).
int adjustOffset(std::uint8_t letter, bool narrow) {
  switch (letter) {
  case 'f':
    return 0x3F7;
  case 'P':
    return 0x3F3;
  case 'M':
    return 0x3F1;
  case 'm':
    return 0x3F2;
  case 'Q':
    return narrow ? 0x3F8 : 0x3F4;
  case 'D':
    return narrow ? 0x3F9 : 0x3F5;
  case 'B':
    return 0x3F0;
  default:
    return -1;
  }
}

} // namespace

VirtualRadio::VirtualRadio(const Memory& memory, VirtualRadioOptions options)
    : memory_(memory), options_(std::move(options)), rng_(options_.seed ? options_.seed : 1) {
  programMode_ = options_.programMode;
  wrongHeadersLeft_ = options_.faults.wrongHeaderTimes;
  refusalsLeft_ = options_.faults.refuseWriteTimes;
}

VirtualRadio::~VirtualRadio() {
  stop();
}

std::chrono::nanoseconds VirtualRadio::byteTime() const {
  return std::chrono::nanoseconds(11ULL * 1'000'000'000ULL / (options_.baud ? options_.baud : 9600));
}

bool VirtualRadio::start() {
  auto fail = [&](const char* what) {
    error_ = std::string(what) + ": " + std::strerror(errno);
    stop();
    return false;
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return fail("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("grantpt");
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) return fail("ptsname");
  path_ = name;
  // The radio keeps its own end of the slave open, so that the line stays up while programs
  // open and close it, and sets it raw so that nothing is echoed or translated.
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) return fail("open slave");
  termios tio{};
  if (tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD | CSTOPB;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");
  if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) return fail("fcntl");
  if (pipe2(wakePipe_, O_CLOEXEC) != 0) return fail("pipe");
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
  return true;
}

void VirtualRadio::stop() {
  stopping_ = true;
  if (wakePipe_[1] >= 0) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(wakePipe_[1], &c, 1);
  }
  if (thread_.joinable()) thread_.join();
  for (int* fd : {&master_, &slave_, &wakePipe_[0], &wakePipe_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

Memory VirtualRadio::memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

bool VirtualRadio::inProgramMode() const {
  std::lock_guard lock(mutex_);
  return programMode_;
}

VirtualRadioStats VirtualRadio::stats() const {
  std::lock_guard lock(mutex_);
  return stats_;
}

std::vector<std::uint8_t> VirtualRadio::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void VirtualRadio::run() {
#if defined(__linux__)
  prctl(PR_SET_TIMERSLACK, 1UL); // wake-ups to the microsecond for line pacing
#endif
  try {
    serve();
  } catch (const Stopped&) {
  }
}

void VirtualRadio::serve() {
  for (;;) {
    std::uint8_t command = 0;
    if (pending_) {
      command = *pending_;
      pending_.reset();
    } else {
      command = *readByte(std::nullopt);
    }
    dispatch(command);
  }
}

std::optional<std::uint8_t> VirtualRadio::readByte(std::optional<std::chrono::milliseconds> wait) {
  const auto deadline = wait ? Clock::now() + *wait : Clock::time_point::max();
  while (inPos_ >= inBuffer_.size()) {
    if (stopping_ || master_ < 0) throw Stopped{};
    int timeout = -1;
    if (wait) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      timeout = static_cast<int>(std::max<long long>(left, 0));
    }
    pollfd fds[2] = {{master_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    int r = poll(fds, 2, timeout);
    if (r < 0 && errno != EINTR) throw Stopped{};
    if (fds[1].revents) throw Stopped{};
    if (r == 0 && wait) return std::nullopt;
    if (r > 0 && (fds[0].revents & POLLIN)) {
      std::uint8_t chunk[256];
      ssize_t n = ::read(master_, chunk, sizeof chunk);
      if (n > 0) {
        inBuffer_.assign(chunk, chunk + n);
        inPos_ = 0;
        const auto seen = Clock::now();
        lastReceive_ = seen;
        std::lock_guard lock(mutex_);
        received_.insert(received_.end(), chunk, chunk + n);
        stats_.bytesReceived += static_cast<std::size_t>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
        throw Stopped{};
      }
    }
  }
  // On a real line the bytes of one write arrive one line time after another.
  if (options_.paced) rxLineFree_ = std::max(lastReceive_, rxLineFree_) + byteTime();
  return inBuffer_[inPos_++];
}

bool VirtualRadio::readBytes(std::uint8_t* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    auto b = readByte(kCommandGap);
    if (!b) return false;
    out[i] = *b;
  }
  return true;
}

void VirtualRadio::writeRaw(const std::uint8_t* data, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    if (stopping_ || master_ < 0) throw Stopped{};
    ssize_t n = ::write(master_, data + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) throw Stopped{};
    pollfd fds[2] = {{master_, POLLOUT, 0}, {wakePipe_[0], POLLIN, 0}};
    poll(fds, 2, 100);
    if (fds[1].revents) throw Stopped{};
  }
}

void VirtualRadio::send(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return;
  {
    // Counted before the bytes go out, so that a program that got the last byte sees it counted.
    std::lock_guard lock(mutex_);
    stats_.bytesSent += bytes.size();
    ++stats_.answers;
  }
  if (options_.paced) {
    const auto t = byteTime();
    const auto start = std::max({Clock::now(), rxLineFree_ + options_.turnaround, txLineFree_});
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      // A byte reaches the program when its last stop bit has been sent.
      std::this_thread::sleep_until(start + t * static_cast<long>(i + 1));
      writeRaw(&bytes[i], 1);
    }
    txLineFree_ = start + t * static_cast<long>(bytes.size());
  } else {
    writeRaw(bytes.data(), bytes.size());
  }
}

std::uint8_t VirtualRadio::noiseByte() {
  for (;;) {
    rng_ ^= rng_ << 13;
    rng_ ^= rng_ >> 17;
    rng_ ^= rng_ << 5;
    auto b = static_cast<std::uint8_t>(rng_ & 0xFF);
    // Noise never carries an acknowledge: nothing can tell a stray ACK from a real one.
    if (b != ACK) return b;
  }
}

void VirtualRadio::flood(std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  while (Clock::now() < end) {
    std::uint8_t chunk[32];
    for (auto& b : chunk)
      b = noiseByte();
    ssize_t n = ::write(master_, chunk, sizeof chunk); // a full line just drops the noise
    if (n > 0) {
      std::lock_guard lock(mutex_);
      stats_.bytesSent += static_cast<std::size_t>(n);
    }
    // Whatever the program sends meanwhile is lost in the flood.
    while (readByte(std::chrono::milliseconds(0))) {
    }
    auto pause = options_.paced ? std::chrono::duration_cast<std::chrono::microseconds>(byteTime() * 32)
                                : std::chrono::microseconds(2000);
    std::this_thread::sleep_for(pause);
  }
}

bool VirtualRadio::silentNow() const {
  const auto& f = options_.faults;
  return f.noAnswer || (f.silentAfterBlocks >= 0 && blocksDone_ >= f.silentAfterBlocks);
}

void VirtualRadio::finishBlock() {
  ++blocksDone_;
  if (options_.faults.hangUpAfterBlocks >= 0 && blocksDone_ >= options_.faults.hangUpAfterBlocks) {
    // The cable is pulled: the program's end of the line hangs up.
    std::lock_guard lock(mutex_);
    ::close(master_);
    master_ = -1;
    throw Stopped{};
  }
}

void VirtualRadio::dispatch(std::uint8_t command) {
  if (silentNow()) return;
  if (!programMode_) {
    // Outside programming mode the radio listens only for "PROGRAM".
    std::size_t matched = command == kProgram[0] ? 1 : 0;
    while (matched > 0 && matched < 7) {
      auto b = readByte(kCommandGap);
      if (!b) return;
      if (*b != static_cast<std::uint8_t>(kProgram[matched])) {
        pending_ = *b;
        return;
      }
      ++matched;
    }
    if (matched != 7) return;
    {
      std::lock_guard lock(mutex_);
      ++stats_.programRequests;
      programMode_ = true;
    }
    std::vector<std::uint8_t> answer;
    for (int i = 0; i < options_.faults.strayBeforeProgramAck; ++i)
      answer.push_back(noiseByte());
    answer.push_back(ACK);
    send(answer);
    return;
  }
  std::uint8_t args[8] = {};
  switch (command) {
  case STX:
    handleIdentify();
    return;
  case 'R':
    handleRead();
    return;
  case 'W':
    handleWrite();
    return;
  case 'C':
    if (readBytes(args, 1))
      handleTestCommand("C", "channel " + std::to_string(args[0]), [&] {
        testState_.channel = args[0];
        testState_.selectingAdjustment = false;
      });
    return;
  case 'S':
    if (readBytes(args, 2)) {
      const int code = args[0] << 8 | args[1];
      handleTestCommand("S", "signalling " + hex(code, 4), [&] { testState_.signalling = code; });
    }
    return;
  case 'K':
    if (readBytes(args, 2)) handleKey(args[0], args[1]);
    return;
  case 'n':
    handleTestCommand("n", "n", [&] { nSeen_ = true; });
    return;
  case 'V':
    if (readBytes(args, 6) && std::memcmp(args, kIdentityText + 1, 6) == 0)
      handleTestCommand("V", "identity", [] {});
    return;
  case 'f':
  case 'P':
  case 'M':
  case 'm':
  case 'Q':
  case 'D':
  case 'B':
    handleAdjust(command);
    return;
  default:
    return; // not a command: ignored
  }
}

void VirtualRadio::handleIdentify() {
  std::vector<std::uint8_t> identity(8);
  {
    std::lock_guard lock(mutex_);
    ++stats_.identifications;
    if (options_.sharedCode) {
      std::memcpy(identity.data(), kSharedCode, 5);
      identity[5] = memory_[kModelCodeAt + 2];
      identity[6] = memory_[kModelCodeAt + 1];
      identity[7] = memory_[kModelCodeAt + 0];
    } else {
      for (std::size_t i = 0; i < 8; ++i)
        identity[i] = memory_[kModelCodeAt + 7 - i];
    }
  }
  send(identity);
  auto answer = readByte(std::nullopt);
  if (*answer == ACK)
    send({ACK});
  else
    pending_ = answer;
}

bool VirtualRadio::floodsInsteadOf(int block) {
  auto& f = options_.faults;
  if (block != f.floodAtBlock) return false;
  f.floodAtBlock = -1;
  flood(std::chrono::milliseconds(f.floodMs));
  return true;
}

std::vector<std::uint8_t> VirtualRadio::noiseAhead(int block) {
  auto& f = options_.faults;
  std::vector<std::uint8_t> noise;
  if (block != f.noiseBeforeBlock) return noise;
  f.noiseBeforeBlock = -1;
  for (int i = 0; i < f.noiseBytes; ++i)
    noise.push_back(noiseByte());
  return noise;
}

void VirtualRadio::handleRead() {
  std::uint8_t args[3];
  if (!readBytes(args, 3)) return;
  const std::size_t address = static_cast<std::size_t>(args[0]) << 8 | args[1];
  std::size_t length = args[2];
  if (length == 0 || address + length > memory_.size()) return;
  auto& f = options_.faults;
  const int block = static_cast<int>(address / 8);

  if (floodsInsteadOf(block)) return;
  std::vector<std::uint8_t> answer = noiseAhead(block);
  std::uint8_t header[4] = {'W', args[0], args[1], args[2]};
  if (block == f.wrongHeaderBlock && wrongHeadersLeft_ > 0) {
    --wrongHeadersLeft_;
    header[2] ^= 0x08;
  }
  if (block == f.wrongLengthBlock) {
    f.wrongLengthBlock = -1;
    length = std::min<std::size_t>(16, memory_.size() - address);
    header[3] = static_cast<std::uint8_t>(length);
  }
  answer.insert(answer.end(), header, header + 4);
  {
    std::lock_guard lock(mutex_);
    answer.insert(answer.end(), memory_.begin() + static_cast<long>(address),
                  memory_.begin() + static_cast<long>(address + length));
  }
  if (block == f.truncateBlock) {
    f.truncateBlock = -1;
    answer.resize(answer.size() - length + 3);
    send(answer);
    return;
  }
  send(answer);
  auto ack = readByte(std::nullopt);
  if (*ack != ACK) {
    pending_ = ack;
    return;
  }
  std::uint8_t final = ACK;
  if (block == f.nakFinalAckBlock) {
    f.nakFinalAckBlock = -1;
    final = NAK;
  }
  {
    std::lock_guard lock(mutex_);
    ++stats_.blocksRead;
  }
  send({final});
  finishBlock();
}

void VirtualRadio::handleWrite() {
  std::uint8_t args[3];
  if (!readBytes(args, 3)) return;
  const std::size_t address = static_cast<std::size_t>(args[0]) << 8 | args[1];
  const std::size_t length = args[2];
  std::vector<std::uint8_t> data(length);
  if (!readBytes(data.data(), length)) return;
  auto& f = options_.faults;
  const int block = static_cast<int>(address / 8);
  if (length == 0 || address + length > memory_.size()) {
    send({NAK});
    return;
  }
  if (floodsInsteadOf(block)) return;
  if (block == f.refuseWriteBlock && refusalsLeft_ > 0) {
    --refusalsLeft_;
    send({NAK});
    return;
  }
  std::vector<std::uint8_t> answer = noiseAhead(block);
  {
    std::lock_guard lock(mutex_);
    std::copy(data.begin(), data.end(), memory_.begin() + static_cast<long>(address));
    // A failing memory cell: the radio acknowledges, but keeps something else.
    if (block == f.corruptWriteBlock)
      for (std::size_t i = 0; i < length; ++i)
        memory_[address + i] = static_cast<std::uint8_t>(~data[i]);
    ++stats_.blocksWritten;
    stats_.highestBlockWritten = std::max(stats_.highestBlockWritten, block);
  }
  answer.push_back(ACK);
  send(answer);
  finishBlock();
}

void VirtualRadio::handleAdjust(std::uint8_t letter) {
  std::uint8_t value = 0;
  if (!readBytes(&value, 1)) return;
  if (letter == 'P' && value == 'R') {
    // "PROGRAM" while already in programming mode is acknowledged like the first one.
    std::size_t matched = 2;
    while (matched < 7) {
      auto b = readByte(std::chrono::milliseconds(20));
      if (!b) break;
      if (*b != static_cast<std::uint8_t>(kProgram[matched])) {
        pending_ = *b;
        break;
      }
      ++matched;
    }
    if (matched == 7) {
      {
        std::lock_guard lock(mutex_);
        ++stats_.programRequests;
      }
      send({ACK});
      return;
    }
    if (matched > 2) return; // a broken "PROGRAM": nothing sensible to answer
  }
  bool refused = false;
  if (!admitTestCommand(std::string(1, static_cast<char>(letter)), refused)) return;
  const std::uint8_t last = refused ? NAK : ACK;
  if (!refused) {
    std::lock_guard lock(mutex_);
    const int offset = adjustOffset(letter, nSeen_);
    memory_[static_cast<std::size_t>(offset)] = value;
    testState_.lastAdjustOffset = offset;
    if (!testState_.adjusting) ++testState_.valuesOutsideAdjustment;
    testEvents_.push_back(std::string("value ") + static_cast<char>(letter) + " " + std::to_string(value));
  }
  // The items whose value is stored inverted are answered with the letter and value echoed.
  if (letter == 'M' || letter == 'm' || letter == 'B')
    send({letter, value, last});
  else
    send({last});
}

void VirtualRadio::handleKey(std::uint8_t code, std::uint8_t phase) {
  std::string event = "key ";
  event += hex(code, 2);
  event += ' ';
  event += std::to_string(phase);
  bool selecting = false;
  {
    std::lock_guard lock(mutex_);
    selecting = testState_.selectingAdjustment;
  }
  const bool transmitter = code == kTransmitKey && (phase == 1 || phase == 2) && !selecting;
  if (transmitter) event = phase == 1 ? "transmit on" : "transmit off";
  std::string command(1, 'K');
  command += hex(code, 2);
  handleTestCommand(command, event, [&] {
    if (transmitter) testState_.transmitting = phase == 1;
    if (code == kAdjustEntryKey && phase == 1) nSeen_ = false;
    trackAdjustmentMode(code, phase);
  });
}

void VirtualRadio::trackAdjustmentMode(std::uint8_t code, std::uint8_t phase) {
  static const std::vector<int> kModeKeys = {kAdjustEntryKey << 8 | 1, kModeKey << 8 | 1,
                                             kAdjustEntryKey << 8 | 2, kModeKey << 8 | 2};
  lastKeys_.push_back(code << 8 | phase);
  if (lastKeys_.size() > kModeKeys.size()) lastKeys_.erase(lastKeys_.begin());
  if (lastKeys_ == kModeKeys) {
    lastKeys_.clear();
    testState_.selectingAdjustment = !testState_.adjusting;
    testState_.adjusting = false;
  } else if (testState_.selectingAdjustment && code != kAdjustEntryKey && phase == 2) {
    testState_.selectingAdjustment = false;
    testState_.adjusting = true;
  }
}

bool VirtualRadio::admitTestCommand(const std::string& key, bool& refused) {
  std::lock_guard lock(mutex_);
  ++testCommands_;
  stats_.testCommands = testCommands_;
  const auto& f = options_.faults;
  if (f.silentAfterTestCommands >= 0 && testCommands_ > f.silentAfterTestCommands) return false;
  refused = false;
  const std::string& wanted = testFault_.command;
  const bool matches = !wanted.empty() && (key == wanted || (wanted == "K" && key[0] == 'K'));
  if (!matches) return true;
  ++testFaultSeen_;
  if (testFaultSeen_ <= testFault_.skip || testFaultSeen_ > testFault_.skip + testFault_.times) return true;
  testEvents_.push_back("refused " + key);
  if (testFault_.silent) return false;
  refused = true;
  return true;
}

void VirtualRadio::handleTestCommand(const std::string& key, const std::string& event,
                                     const std::function<void()>& apply) {
  bool refused = false;
  if (!admitTestCommand(key, refused)) return;
  if (!refused) {
    std::lock_guard lock(mutex_);
    apply();
    testEvents_.push_back(event);
  }
  send({refused ? NAK : ACK});
}

std::vector<std::string> VirtualRadio::testEvents() const {
  std::lock_guard lock(mutex_);
  return testEvents_;
}

TestModeState VirtualRadio::testState() const {
  std::lock_guard lock(mutex_);
  return testState_;
}

void VirtualRadio::injectTestFault(TestCommandFault fault) {
  std::lock_guard lock(mutex_);
  testFault_ = std::move(fault);
  testFaultSeen_ = 0;
}

} // namespace vpr::sim
