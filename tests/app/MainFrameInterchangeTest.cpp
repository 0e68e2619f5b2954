// The File menu's export and import commands in the main window, and a data file given on the
// command line.

#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "lang/CLanguageTable.h"
#include "model/ConfigYaml.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace vpr {
namespace {

class MainFrameInterchangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    radioData().startUp(std::nullopt);
    currentFile().setFolder(dir);
    frame = std::make_unique<CMainFrame>(ui, settings, false);
    frame->setViewFactory([this](ViewKind kind, QWidget*) -> CImageView* {
      auto* view = new test::FakeView(QStringLiteral("View %1").arg(static_cast<int>(kind)), 0x31000);
      views[kind] = view;
      return view;
    });
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  }
  void TearDown() override { frame.reset(); }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::string dir = test::makeTempDir();
  test::FakeUserInterface ui;
  CAppSettings settings;
  std::unique_ptr<CMainFrame> frame;
  std::map<ViewKind, test::FakeView*> views;
};

TEST_F(MainFrameInterchangeTest, TheFileMenuOffersTheFourCommands) {
  QMenu* file = frame->menuBar()->actions().value(0)->menu();
  ASSERT_NE(file, nullptr);
  QStringList texts;
  for (QAction* action : file->actions())
    texts << action->text();
  for (int id : {10066110, 10066111, 10066112, 10066113})
    EXPECT_TRUE(texts.contains(QString::fromStdString(textOf(id)))) << id;
}

TEST_F(MainFrameInterchangeTest, ImportedConfigurationReplacesTheImageAndShowsTheChannels) {
  const RadioImage image = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(16));
  ui.openChoices.push_back(write("other.yaml", ConfigYaml::exportImage(image)));
  frame->onCommand(cmd::ImportConfiguration);
  EXPECT_EQ(radioData().editImage, image);
  EXPECT_TRUE(views.count(ViewKind::ChannelInfo));
  EXPECT_FALSE(frame->titleText().contains(QStringLiteral("other"))) << frame->titleText().toStdString();
  // Saved nowhere yet: New asks to save it first.
  ui.answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
  frame->onCommand(cmd::FileNew);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(radioData().editImage, image);
}

TEST_F(MainFrameInterchangeTest, ImportedChannelsReachTheOpenViews) {
  frame->onCommand(cmd::ChannelInformation);
  const int reloadsBefore = views[ViewKind::ChannelInfo]->reloads;
  ui.openChoices.push_back(write("list.csv", "Location,Frequency\n1,151.000\n"));
  frame->onCommand(cmd::ImportChannels);
  ASSERT_TRUE(radioData().channelRecord(1));
  EXPECT_EQ(formatFrequency(radioData().channelRecord(1)->rxFreq()), "151.00000");
  EXPECT_GT(views[ViewKind::ChannelInfo]->reloads, reloadsBefore);
}

TEST_F(MainFrameInterchangeTest, ADataFileGivenAtStartIsOpened) {
  const RadioImage image = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(5));
  std::error_code error;
  const std::string path = dir + "/given.dat";
  ASSERT_EQ(DataFile::writeDataFile(path, image, error), DataFile::Written);
  ASSERT_TRUE(frame->openFileAtStart(QString::fromStdString(path)));
  EXPECT_EQ(radioData().editImage, image);
  EXPECT_FALSE(frame->openFileAtStart(QString::fromStdString(dir + "/missing.dat")));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(radioData().editImage, image);
}

} // namespace
} // namespace vpr
