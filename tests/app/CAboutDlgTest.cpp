// The About box shows its lines from the text table and closes with OK.
#include "app/CAboutDlg.h"

#include "support/ModalDriver.h"
#include "support/TestLanguage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vpr {
namespace {

TEST(AboutBox, showsEveryLineFromTheTextTableInOrderAndClosesWithOk) {
  test::loadLanguage(true);
  QStringList lines;
  QString caption;
  QString ok;
  test::whenModal<CAboutDlg>([&](CAboutDlg* dialog) {
    caption = dialog->windowTitle();
    for (QLabel* label : dialog->findChildren<QLabel*>())
      if (!label->text().isEmpty()) lines << label->text();
    QAbstractButton* button = dialog->findChild<QDialogButtonBox*>()->buttons().value(0);
    ok = button->text();
    button->click();
  });
  CAboutDlg::run(nullptr);
  EXPECT_EQ(caption.toStdString(), "ID:10001009");
  EXPECT_EQ(ok.toStdString(), "ID:10002001");
  EXPECT_EQ(lines, (QStringList{"ID:10001001", "ID:10001002", "ID:10001003", "ID:10001004", "ID:10001005",
                                "ID:10001006", "ID:10001007", "ID:10001008"}));
}

} // namespace
} // namespace vpr
