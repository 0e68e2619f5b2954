// The serial port over real pseudo-terminals: device naming, exclusive open, line settings,
// purge before write, reads with the total time-out.

#include "link/CComPort.h"
#include "link/LineMode.h"
#include "link/posix/PosixSerialDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vpr {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The far end of a line: a pseudo-terminal master the test writes to and reads from.
class RawLine {
public:
  RawLine() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) throw std::runtime_error("no pty");
    path_ = ptsname(master_);
  }
  ~RawLine() { hangUp(); }
  const std::string& path() const { return path_; }
  void send(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), (ssize_t)bytes.size());
  }
  std::string receive(std::size_t count) {
    std::string out;
    auto deadline = Clock::now() + milliseconds(1000);
    while (out.size() < count && Clock::now() < deadline) {
      char buf[64];
      ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - out.size()));
      if (n > 0) out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
  }
  void hangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

private:
  int master_ = -1;
  std::string path_;
};

// A port whose number 1 is the given device.
struct PortOn : CComPort {
  explicit PortOn(const std::string& path) {
    SetPortPath(1, path);
    SetPortNumber(1);
  }
};

TEST(ComPortNaming, NumberedPortsMapToTheUsualDevicesAndOverridesWin) {
  CComPort port;
  EXPECT_EQ(port.PortNumber(), 1);
  EXPECT_EQ(port.PortPath(1), "/dev/ttyUSB0");
  EXPECT_EQ(port.PortPath(8), "/dev/ttyUSB7");
  EXPECT_EQ(port.PortPath(9), "/dev/ttyACM0");
  EXPECT_EQ(port.PortPath(12), "/dev/ttyACM3");
  EXPECT_EQ(port.PortPath(13), "/dev/ttyS0");
  EXPECT_EQ(port.PortPath(20), "/dev/ttyS7");
  port.SetPortPath(3, "/dev/serial/by-id/cable");
  port.SetPortNumber(3);
  EXPECT_EQ(port.DeviceName(), "/dev/serial/by-id/cable");
  port.SetPortPath(3, "");
  EXPECT_EQ(port.DeviceName(), "/dev/ttyUSB2");
  // 0 keeps the number.
  EXPECT_TRUE(port.SetPortNumber(0));
  EXPECT_EQ(port.PortNumber(), 3);
}

TEST(ComPortOpen, AMissingDeviceOrAFileThatIsNotATerminalDoesNotOpenAndTellsWhy) {
  for (const auto& [path, error] :
       {std::pair<const char*, int>{"/dev/vpr40t-no-such-port", ENOENT}, {"/dev/null", ENOTTY}}) {
    SCOPED_TRACE(path);
    PortOn port(path);
    EXPECT_FALSE(port.SetOpen(true));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastSystemError(), error);
    EXPECT_FALSE(port.WriteByte(0x06));
  }
}

TEST(ComPortOpen, AHeldPortIsNeverOpenedTwice) {
  RawLine line;
  PortOn first(line.path());
  PortOn second(line.path());
  ASSERT_TRUE(first.SetOpen(true));
  EXPECT_FALSE(second.SetOpen(true));
  EXPECT_EQ(second.LastSystemError(), EBUSY);
  EXPECT_FALSE(second.IsOpen());
  // Opening an open port again succeeds without a second open of the device.
  EXPECT_TRUE(first.SetOpen(true));
  EXPECT_TRUE(first.SetOpen(false));
  EXPECT_TRUE(second.SetOpen(true));
  // A renumbering on an open port closes and reopens it, still holding the device.
  EXPECT_TRUE(second.SetPortNumber(0));
  EXPECT_TRUE(second.IsOpen());
  EXPECT_FALSE(first.SetOpen(true));
}

// What the Communication Port dialog shows: ports whose devices exist, held ones included.
TEST(ComPortOpen, APortsDeviceIsFoundWithoutOpeningIt) {
  RawLine line;
  PortOn holder(line.path());
  ASSERT_TRUE(holder.SetOpen(true));
  const std::string file = test::makeTempDir() + "/radio.dat";
  std::ofstream(file) << "not a port";
  CComPort port;
  port.SetPortPath(3, line.path());
  port.SetPortPath(4, "/dev/vpr40t-no-such-port");
  port.SetPortPath(5, file);
  EXPECT_TRUE(port.PortExists(3));
  EXPECT_FALSE(port.PortExists(4));
  EXPECT_FALSE(port.PortExists(5));
}

// A sysfs tree as the kernel publishes it for tty devices: class/tty/NAME/device/driver and,
// for ports of the serial core, class/tty/NAME/type with the UART type (0 = none answered).
class FakeSysfs {
public:
  FakeSysfs() : root_(test::makeTempDir()) { std::filesystem::create_directories(root_ / "class" / "tty"); }
  const std::filesystem::path& root() const { return root_; }
  void addTty(const std::string& name, const std::string& driver, const std::string& uartType = {}) {
    const auto tty = root_ / "class" / "tty" / name;
    const auto driverDir = root_ / "bus" / "drivers" / driver;
    std::filesystem::create_directories(tty / "device");
    std::filesystem::create_directories(driverDir);
    std::filesystem::create_directory_symlink(driverDir, tty / "device" / "driver");
    if (!uartType.empty()) std::ofstream(tty / "type") << uartType << "\n";
  }
  void addUnboundTty(const std::string& name) {
    std::filesystem::create_directories(root_ / "class" / "tty" / name);
  }

private:
  std::filesystem::path root_;
};

TEST(ComPortHardware, UsbAdaptersAndAcmModemsCountAlthoughTheyReportNoUartType) {
  FakeSysfs sysfs;
  sysfs.addTty("ttyUSB0", "ftdi_sio", "0");
  sysfs.addTty("ttyUSB1", "pl2303");
  sysfs.addTty("ttyACM0", "cdc_acm");
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyUSB0"), true);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyUSB1"), true);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyACM0"), true);
}

TEST(ComPortHardware, ALegacyPortCountsOnlyWithABoundDriverAndAKnownUart) {
  FakeSysfs sysfs;
  sysfs.addTty("ttyS0", "serial8250", "4"); // a 16550A answered
  sysfs.addTty("ttyS1", "serial8250", "0"); // the placeholder ports the kernel always creates
  sysfs.addUnboundTty("ttyS2");
  sysfs.addTty("ttyS3", "serial8250"); // no type published: the driver has to be asked
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyS0"), true);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyS1"), false);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyS2"), false);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyS3"), std::nullopt);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root(), "ttyS7"), false);
  EXPECT_EQ(PosixSerialDevice::hasSerialHardware(sysfs.root() / "missing", "ttyS0"), std::nullopt);
}

TEST(ComPortSettings, TheLineIsRawAt9600Baud8N2WithoutFlowControl) {
  RawLine line;
  PortOn port(line.path());
  EXPECT_TRUE(port.SetLineSettings(" 9600 , N , 8 , 2 "));
  EXPECT_EQ(port.LineSettings(), "9600,N,8,2");
  EXPECT_EQ(port.GetLineSettingsTail(), ",N,8,2");
  ASSERT_TRUE(port.SetOpen(true));
  EXPECT_TRUE(port.IsRs232Port()); // a pseudo-terminal counts, so the virtual radio can be chosen
  EXPECT_TRUE(port.CheckLineErrors());

  int fd = ::open(line.path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios tio{};
  ASSERT_EQ(tcgetattr(fd, &tio), 0);
  ::close(fd);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(tio.c_cflag & CSTOPB);
  EXPECT_FALSE(tio.c_cflag & PARENB);
  EXPECT_FALSE(tio.c_cflag & CRTSCTS);
  EXPECT_TRUE(tio.c_cflag & CLOCAL);
  EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
  EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));

  // A changed mode takes effect at once; a mode the device cannot take fails.
  EXPECT_TRUE(port.SetLineSettings("4800,E,7,1"));
  EXPECT_FALSE(port.SetLineSettings("9600,X,8,2"));
  EXPECT_FALSE(port.SetLineSettings("12345,N,8,2"));
}

TEST(ComPortIo, EveryWriteFirstDiscardsInputThatWasNotRead) {
  RawLine line;
  PortOn port(line.path());
  ASSERT_TRUE(port.SetOpen(true));
  line.send("stale");
  std::this_thread::sleep_for(milliseconds(20));
  ASSERT_TRUE(port.WriteString("PING"));
  EXPECT_EQ(line.receive(4), "PING");
  line.send("new");
  std::uint8_t buffer[3] = {};
  ASSERT_TRUE(port.ReadBytes(buffer, 3));
  EXPECT_EQ(std::string(buffer, buffer + 3), "new");
}

TEST(ComPortIo, AShortReadFailsAfterTheTimeOutButKeepsWhatArrived) {
  RawLine line;
  PortOn port(line.path());
  ASSERT_TRUE(port.SetOpen(true));
  ASSERT_TRUE(port.SetReadTimeout(200));
  line.send("12345");
  std::uint8_t buffer[8] = {};
  auto start = Clock::now();
  EXPECT_FALSE(port.ReadBytes(buffer, 8));
  auto elapsed = Clock::now() - start;
  EXPECT_EQ(std::string(buffer, buffer + 5), "12345");
  EXPECT_GE(elapsed, milliseconds(195));
  EXPECT_LT(elapsed, milliseconds(400));
}

TEST(ComPortIo, BytesTricklingInWithinTheTimeOutMakeAWholeRead) {
  RawLine line;
  PortOn port(line.path());
  ASSERT_TRUE(port.SetOpen(true));
  ASSERT_TRUE(port.SetReadTimeout(500));
  std::thread sender([&] {
    for (char c : std::string("ABCD")) {
      std::this_thread::sleep_for(milliseconds(30));
      line.send(std::string(1, c));
    }
  });
  std::uint8_t buffer[4] = {};
  EXPECT_TRUE(port.ReadBytes(buffer, 4));
  sender.join();
  EXPECT_EQ(std::string(buffer, buffer + 4), "ABCD");
}

TEST(ComPortIo, APulledCableEndsAReadAtOnce) {
  RawLine line;
  PortOn port(line.path());
  ASSERT_TRUE(port.SetOpen(true));
  ASSERT_TRUE(port.SetReadTimeout(3000));
  std::thread cutter([&] {
    std::this_thread::sleep_for(milliseconds(50));
    line.hangUp();
  });
  std::uint8_t buffer[4] = {};
  auto start = Clock::now();
  EXPECT_FALSE(port.ReadBytes(buffer, 4));
  cutter.join();
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  EXPECT_FALSE(port.WriteByte(0x52));
  EXPECT_TRUE(port.SetOpen(false));
}

TEST(ComPortWait, BusyWaitWaitsAtLeastThePause) {
  auto start = Clock::now();
  CComPort::BusyWait(20);
  auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(20));
  EXPECT_LT(elapsed, milliseconds(200));
}

TEST(LineModeText, TheCommaFormWithAbbreviationsParses) {
  auto mode = parseLineMode("9600,N,8,2");
  ASSERT_TRUE(mode);
  EXPECT_EQ(*mode->baud, 9600u);
  EXPECT_EQ(*mode->parity, Parity::None);
  EXPECT_EQ(*mode->dataBits, 8u);
  EXPECT_EQ(*mode->stopBits, StopBits::Two);
  EXPECT_FALSE(mode->handshake);

  auto shortForm = parseLineMode("com3:96,e,7,1.5,x");
  ASSERT_TRUE(shortForm);
  EXPECT_EQ(*shortForm->baud, 9600u);
  EXPECT_EQ(*shortForm->parity, Parity::Even);
  EXPECT_EQ(*shortForm->stopBits, StopBits::OneAndHalf);
  EXPECT_EQ(*shortForm->handshake, Handshake::Software);

  auto baudOnly = parseLineMode("19200");
  ASSERT_TRUE(baudOnly);
  EXPECT_FALSE(baudOnly->parity);

  for (const char* bad : {"", ",N,8,2", "9600,Q,8,2", "9600,N,9,2", "9600,N,8,3", "fast,N,8,2", "lpt1:9600",
                          "9600,N,8,2,z", "9600,N,8,2,x,more"})
    EXPECT_FALSE(parseLineMode(bad)) << bad;
}

} // namespace
} // namespace vpr
