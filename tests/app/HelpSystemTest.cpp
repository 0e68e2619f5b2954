// Help contexts lead to pages of the HTML manual; without a manual nothing opens.
#include "app/CHelpSystem.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using vpr::CHelpSystem;

namespace {

class HelpSystemTest : public ::testing::Test {
protected:
  void SetUp() override {
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(vpr::test::sourcePath("res"))});
  }
  void TearDown() override { CHelpSystem::setSearchFolders({}); }
};

TEST_F(HelpSystemTest, EveryContextOfTheProgramHasAPageInTheManual) {
  const int contexts[] = {0,       0x11000, 0x12000, 0x13000, 0x14000, 0x15000, 0x16000, 0x17000,
                          0x20000, 0x21000, 0x22000, 0x31000, 0x32000, 0x33000, 0x34000, 0x51000,
                          0x52000, 0x53000, 0x71000, 0x81000, 0x82000, 0x83000, 0x91000, 0x95000,
                          200962,  209153,  340225,  0x18000, 0x19000, 0x1A000, 0x72000};
  for (int context : contexts) {
    const QUrl url = CHelpSystem::urlOf(context);
    ASSERT_TRUE(url.isLocalFile()) << std::hex << context;
    EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toString().toStdString();
  }
}

TEST_F(HelpSystemTest, AContextInsideAGroupOpensItsGroupPageAtItsAnchor) {
  EXPECT_EQ(CHelpSystem::pageOf(0x31000), "channels.html");
  EXPECT_EQ(CHelpSystem::pageOf(200962), "channels.html#c31102");
  EXPECT_EQ(CHelpSystem::pageOf(0x71000), "setup.html#port");
  EXPECT_EQ(CHelpSystem::pageOf(0), "index.html");
  EXPECT_EQ(CHelpSystem::urlOf(0x12000).fragment(), "open");
}

TEST_F(HelpSystemTest, AnchorsNamedByThePagesExist) {
  for (int context : {0x11000, 0x12000, 0x21000, 0x51000, 0x52000, 0x71000, 0x81000, 0x95000, 200962}) {
    const QUrl url = CHelpSystem::urlOf(context);
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains(QStringLiteral("id=\"%1\"").arg(url.fragment()).toUtf8()))
        << url.toString().toStdString();
  }
}

TEST_F(HelpSystemTest, AMissingManualOpensNothing) {
  CHelpSystem::setSearchFolders({QString::fromStdString(vpr::test::makeTempDir())});
  EXPECT_TRUE(CHelpSystem::urlOf(0x31000).isEmpty());
  EXPECT_FALSE(CHelpSystem::showHelp(0x31000));
  CHelpSystem::setHelpFileName("");
  EXPECT_TRUE(CHelpSystem::urlOf(0).isEmpty());
}

} // namespace
