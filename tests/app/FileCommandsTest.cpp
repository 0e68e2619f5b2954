// The File menu's data-file commands in the main window: the core's flows run with this window's
// questions, views and title; a data file given on the command line; Exit.

#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "lang/CLanguageTable.h"
#include "model/ConfigYaml.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"
#include "views/QtText.h"

#include <QMenuBar>

#include <fstream>

namespace vpr {
namespace {

class FileCommandsTest : public test::MainFrameFixture {
protected:
  void SetUp() override {
    MainFrameFixture::SetUp();
    currentFile().setFolder(dir);
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::string dir = test::makeTempDir();
};

TEST_F(FileCommandsTest, NewAnsweredWithCancelChangesNothing) {
  frame->onCommand(cmd::ChannelInformation);
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::FileNew);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(views[ViewKind::ChannelInfo]->closeQueries, 0);
}

TEST_F(FileCommandsTest, NewReplacesTheViewsAndKeepsTheModel) {
  frame->onCommand(cmd::KeyAssignment);
  ui.answers.push_back(MessageAnswer::Ok);
  frame->onCommand(cmd::FileNew);
  EXPECT_EQ(frame->viewOf(ViewKind::Keys), nullptr);
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr);
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
}

TEST_F(FileCommandsTest, SaveAsAndOpenShowTheFileInTheTitle) {
  ui.saveChoices.push_back(dir + "/workshop");
  frame->onCommand(cmd::FileSaveAs);
  EXPECT_TRUE(frame->windowTitle().contains("[ " + qtText(10007002) + " : workshop.dat ]"))
      << frame->windowTitle().toStdString();

  radioData().resetToModel(ModelCatalogue::modelCodeForRow(20));
  currentFile().resetFileName();
  frame->updateTitle();
  frame->onCommand(cmd::TestFrequency);
  ui.openChoices.push_back(dir + "/workshop.dat");
  frame->onCommand(cmd::FileOpen);
  EXPECT_EQ(radioData().modelCode(), ModelCatalogue::defaultModelCode());
  EXPECT_TRUE(frame->windowTitle().contains("workshop.dat"));
  EXPECT_EQ(frame->viewOf(ViewKind::TestFrequencies), nullptr)
      << "views are closed before the image is replaced";
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr);
}

TEST_F(FileCommandsTest, ADataFileGivenAtStartIsOpened) {
  const RadioImage image = test::rowImage(5);
  std::error_code error;
  const std::string path = dir + "/given.dat";
  ASSERT_EQ(DataFile::writeDataFile(path, image, error), DataFile::Written);
  ASSERT_TRUE(frame->openFileAtStart(QString::fromStdString(path)));
  EXPECT_EQ(radioData().editImage, image);
  EXPECT_FALSE(frame->openFileAtStart(QString::fromStdString(dir + "/missing.dat")));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(radioData().editImage, image);
}

TEST_F(FileCommandsTest, TheFileMenuOffersExportAndImport) {
  QMenu* file = frame->menuBar()->actions().value(0)->menu();
  ASSERT_NE(file, nullptr);
  QStringList texts;
  for (QAction* action : file->actions())
    texts << action->text();
  for (int id : {10066110, 10066111, 10066112, 10066113})
    EXPECT_TRUE(texts.contains(QString::fromStdString(textOf(id)))) << id;
}

TEST_F(FileCommandsTest, ImportedConfigurationReplacesTheImageAndShowsTheChannels) {
  const RadioImage image = test::rowImage(16);
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

TEST_F(FileCommandsTest, ImportedChannelsReachTheOpenViews) {
  frame->onCommand(cmd::ChannelInformation);
  const int reloadsBefore = views[ViewKind::ChannelInfo]->reloads;
  ui.openChoices.push_back(write("list.csv", "Location,Frequency\n1,151.000\n"));
  frame->onCommand(cmd::ImportChannels);
  ASSERT_TRUE(radioData().channelRecord(1));
  EXPECT_EQ(formatFrequency(radioData().channelRecord(1)->rxFreq()), "151.00000");
  EXPECT_GT(views[ViewKind::ChannelInfo]->reloads, reloadsBefore);
}

TEST_F(FileCommandsTest, ExitPostsACloseRequest) {
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::AppExit);
  EXPECT_TRUE(ui.messages.empty()) << "the close request is posted, not run at once";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.messages.empty(); }));
  EXPECT_TRUE(frame->isVisible());
}

} // namespace
} // namespace vpr
