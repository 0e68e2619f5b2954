// The Communication Port dialog offers exactly the ports that open as serial ports, keeps the
// remembered one checked, and changes the link's port only on OK.
#include "app/CComPortDlg.h"

#include "VirtualRadioAtPort.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

class ComPortDialogTest : public ::testing::Test {
protected:
  // Virtual radios on ports 1 and 3; every other port names a device that does not exist, so
  // that no real serial port of the machine takes part.
  void SetUp() override {
    test::loadLanguage(true);
    const std::string missing = test::makeTempDir();
    for (int n = 1; n <= CComPortDlg::kPortCount; ++n)
      port.SetPortPath(n, missing + "/tty" + std::to_string(n));
    for (int n : {1, 3}) {
      radios.push_back(std::make_unique<sim::VirtualRadio>(test::markedImage(0, 0)));
      ASSERT_TRUE(radios.back()->start());
      port.SetPortPath(n, radios.back()->devicePath());
    }
    port.SetPortNumber(3);
  }
  void TearDown() override { test::unloadLanguage(); }

  static bool waitForScan(CComPortDlg* dialog) {
    return QTest::qWaitFor([dialog] { return dialog->scanDone(); }, 20000);
  }
  // Runs action on the dialog once its scan has finished (the scan pumps events, so a modal
  // driver may find the dialog while the scan is still running).
  static void whenScanned(std::function<void(CComPortDlg*)> action) {
    test::whenModal<CComPortDlg>([action](CComPortDlg* dialog) {
      if (dialog->scanDone())
        action(dialog);
      else
        QObject::connect(
            dialog, &CComPortDlg::scanFinished, dialog, [dialog, action] { action(dialog); },
            Qt::QueuedConnection);
    });
  }
  static void press(CComPortDlg* dialog, QDialogButtonBox::StandardButton which) {
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
  }

  CComPort port;
  std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
};

TEST_F(ComPortDialogTest, theScanStartsOnceVisibleAndEnablesOnlyThePortsThatOpen) {
  CComPortDlg dialog(port, {});
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ID:10019001");
  EXPECT_EQ(dialog.findChild<QGroupBox*>()->title().toStdString(), "ID:10019002");
  QCoreApplication::processEvents();
  EXPECT_FALSE(dialog.scanDone());
  for (int n = 1; n <= CComPortDlg::kPortCount; ++n)
    EXPECT_FALSE(dialog.portButton(n)->isEnabled()) << n;

  dialog.show();
  ASSERT_TRUE(waitForScan(&dialog));
  for (int n = 1; n <= CComPortDlg::kPortCount; ++n) {
    const bool present = n == 1 || n == 3;
    EXPECT_EQ(dialog.portButton(n)->isEnabled(), present) << n;
    EXPECT_EQ(dialog.portButton(n)->isChecked(), n == 3) << n;
    EXPECT_EQ(dialog.portButton(n)->text().toStdString(), "COM" + std::to_string(n));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("path%1").arg(n))->toolTip().toStdString(),
              port.PortPath(n));
  }
  // A short path is shown whole beside its button.
  EXPECT_EQ(dialog.findChild<QLabel*>("path1")->text().toStdString(), port.PortPath(1));
  // The scan tried every number, but the link ends where it started.
  EXPECT_EQ(port.PortNumber(), 3);
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(ComPortDialogTest, okTakesThePickedPortAndCancelKeepsTheOldOne) {
  for (const bool ok : {false, true}) {
    whenScanned([ok](CComPortDlg* dialog) {
      dialog->portButton(1)->click();
      press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(CComPortDlg::run(nullptr, port, {}), ok ? std::optional<int>(1) : std::nullopt);
    EXPECT_EQ(port.PortNumber(), ok ? 1 : 3);
  }
}

TEST_F(ComPortDialogTest, aRememberedPortThatIsGoneIsNotCheckedAndOkKeepsIt) {
  port.SetPortNumber(7);
  whenScanned([](CComPortDlg* dialog) {
    EXPECT_FALSE(dialog->portButton(7)->isEnabled());
    for (int n = 1; n <= CComPortDlg::kPortCount; ++n)
      EXPECT_FALSE(dialog->portButton(n)->isChecked()) << n;
    press(dialog, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(CComPortDlg::run(nullptr, port, {}), std::optional<int>(7));
  EXPECT_EQ(port.PortNumber(), 7);
}

TEST_F(ComPortDialogTest, aPortHeldByAnotherProgramIsNotOffered) {
  CComPort other;
  other.SetPortPath(1, port.PortPath(1));
  other.SetPortNumber(1);
  ASSERT_TRUE(other.SetOpen(true));
  CComPortDlg dialog(port, {});
  dialog.show();
  ASSERT_TRUE(waitForScan(&dialog));
  EXPECT_FALSE(dialog.portButton(1)->isEnabled());
  EXPECT_TRUE(dialog.portButton(3)->isEnabled());
}

} // namespace
} // namespace vpr
