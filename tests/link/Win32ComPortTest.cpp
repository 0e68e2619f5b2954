// The Windows serial back end without a radio: device names of the numbered ports, and what a
// port that cannot be opened reports. The back end against a radio is run under Wine with a COM
// port mapped onto the virtual radio (tools/test-windows.sh).

#include "link/CComPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <windows.h>

namespace vpr {
namespace {

TEST(Win32ComPort, OneDigitPortsAreComNamesAndTwoDigitPortsUseTheDeviceNamespace) {
  CComPort port;
  EXPECT_EQ(port.PortPath(1), "COM1");
  EXPECT_EQ(port.PortPath(9), "COM9");
  EXPECT_EQ(port.PortPath(10), "\\\\.\\COM10");
  EXPECT_EQ(port.PortPath(20), "\\\\.\\COM20");
  port.SetPortNumber(12);
  EXPECT_EQ(port.DeviceName(), "\\\\.\\COM12");
  port.SetPortPath(12, "\\\\.\\CNCB0");
  EXPECT_EQ(port.DeviceName(), "\\\\.\\CNCB0");
}

TEST(Win32ComPort, AMissingPortStaysClosedAndTellsTheSystemsReason) {
  for (const std::uint8_t number : {7, 17}) {
    SCOPED_TRACE(number);
    CComPort port;
    port.SetPortNumber(number);
    EXPECT_FALSE(port.SetOpen(true));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastSystemError(), ERROR_FILE_NOT_FOUND);
    const std::string reason = serialErrorText(port.LastSystemError());
    EXPECT_FALSE(reason.empty());
    // One clause that a sentence can carry on from: no line break, no full stop.
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(reason.back(), '.');
    EXPECT_EQ(serialErrorKind(port.LastSystemError()), SerialErrorKind::Other);
  }
}

TEST(Win32ComPort, APortHeldElsewhereIsRecognisedByItsError) {
  // Windows refuses the second opener of a port with "access denied".
  EXPECT_EQ(serialErrorKind(ERROR_ACCESS_DENIED), SerialErrorKind::Busy);
  EXPECT_EQ(serialErrorKind(ERROR_SHARING_VIOLATION), SerialErrorKind::Busy);
  EXPECT_TRUE(serialDeviceGroup("COM1").empty());
}

TEST(Win32ComPort, AFileGivenAsThePortIsNoSerialPort) {
  const std::filesystem::path file = std::filesystem::path(test::makeTempDir()) / "radio.dat";
  std::ofstream(file) << "not a port";
  CComPort port;
  port.SetPortPath(1, file.string());
  port.SetPortNumber(1);
  // The file opens, but takes no serial settings: the open fails, the file stays as it was.
  EXPECT_FALSE(port.SetOpen(true));
  EXPECT_NE(port.LastSystemError(), 0);
  EXPECT_FALSE(port.IsRs232Port());
  port.SetOpen(false);
  std::ifstream in(file);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "not a port");
  EXPECT_FALSE(port.IsOpen());
}

// What the Communication Port dialog shows: ports whose names the system knows, found without
// opening them. NUL stands for a port: it is a device name every system knows.
TEST(Win32ComPort, APortsDeviceIsFoundWithoutOpeningIt) {
  const std::filesystem::path file = std::filesystem::path(test::makeTempDir()) / "radio.dat";
  std::ofstream(file) << "not a port";
  CComPort port;
  port.SetPortPath(3, "NUL");
  port.SetPortPath(4, "\\\\.\\NUL");
  port.SetPortPath(5, "COM244");
  port.SetPortPath(6, "\\\\.\\COM244");
  port.SetPortPath(7, file.string());
  EXPECT_TRUE(port.PortExists(3));
  EXPECT_TRUE(port.PortExists(4));
  EXPECT_FALSE(port.PortExists(5));
  EXPECT_FALSE(port.PortExists(6));
  EXPECT_FALSE(port.PortExists(7));
}

} // namespace
} // namespace vpr
