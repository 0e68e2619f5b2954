#include "model/DataFileFlows.h"
#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "support/FakeUserInterface.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::idText;
using test::readFileBytes;
using test::writeFileBytes;

class DataFileFlowsTest : public ::testing::Test {
protected:
  fs::path dir = test::makeTempDir();
  RadioData data;
  CurrentFile file;
  test::FakeUserInterface ui;
  DataFileFlows flows{data, file, ui};
  int viewsClosed = 0;

  void SetUp() override {
    test::loadLanguage(true);
    data.startUp(std::nullopt);
    file.setFolder(dir.string());
    flows.setCloseViews([this] { ++viewsClosed; });
  }
  void TearDown() override { test::unloadLanguage(); }

  void modify() { data.editImage[0x3C1] ^= 0x01; }
  std::string saveChangesText() const { return idText(10026010) + " \"" + file.fileName() + "\" ?"; }
  std::string replaceText(const std::string& name) const {
    return idText(10026011) + "\n\n" + idText(10026012) + " : " + name;
  }
  // A data file of model row 13 with one changed byte, written straight to disk.
  RadioImage writeOtherFile(const fs::path& path) {
    RadioImage image = test::rowImage(13);
    image[0x3C2] = 1;
    writeFileBytes(path, std::string(reinterpret_cast<const char*>(DataFile::fileBytes(image).data()),
                                     DataFile::kFileSize));
    return image;
  }
};

// --- Save and Save As --------------------------------------------------------------------------

TEST_F(DataFileFlowsTest, SavingToANewNameAsksNothingAndSavingAgainAsksEveryTime) {
  modify();
  ASSERT_TRUE(flows.saveDataFile());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(readFileBytes(dir / "vpr40t.dat").size(), 1074u);

  for (int round = 0; round < 2; ++round) {
    ui.answers.push_back(MessageAnswer::Ok);
    EXPECT_TRUE(flows.saveDataFile());
  }
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].kind, MessageKind::Confirmation);
  EXPECT_EQ(ui.messages[1].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(ui.messages[1].defaultAnswer, MessageAnswer::Cancel);
  EXPECT_EQ(ui.messages[1].text, replaceText("vpr40t.dat"));
}

TEST_F(DataFileFlowsTest, DecliningToReplaceWritesNothing) {
  writeFileBytes(dir / "vpr40t.dat", "keep me");
  modify();
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(flows.saveDataFile());
  EXPECT_EQ(readFileBytes(dir / "vpr40t.dat"), "keep me");
  EXPECT_TRUE(data.isModified());
}

TEST_F(DataFileFlowsTest, AFailedSaveShowsTheSystemMessageAndKeepsTheImageModified) {
  file.setFolder((dir / "gone").string());
  modify();
  EXPECT_FALSE(flows.saveDataFile());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
#ifdef _WIN32
  const std::error_code missingFolder(3, std::system_category()); // ERROR_PATH_NOT_FOUND
#else
  const std::error_code missingFolder = std::make_error_code(std::errc::no_such_file_or_directory);
#endif
  EXPECT_EQ(ui.messages[0].text, missingFolder.message() + "\n\n" + idText(10026063));
  EXPECT_TRUE(data.isModified());
}

TEST_F(DataFileFlowsTest, SaveAsAddsTheDataExtensionWhereItIsMissing) {
  const std::pair<const char*, const char*> cases[] = {
      {"radio.txt", "radio.txt.dat"},
      {"upper.DAT", "upper.DAT"}, // not radio.DAT: on Windows that is radio.dat
      {"radio.", "radio.dat"},
      {"plain", "plain.dat"}};
  for (const auto& [chosen, written] : cases) {
    SCOPED_TRACE(chosen);
    ui.saveChoices.push_back((dir / chosen).string());
    ASSERT_TRUE(flows.saveDataFileAs());
    EXPECT_TRUE(fs::exists(dir / written));
    EXPECT_EQ(file.fileName(), written);
    EXPECT_EQ(file.folder(), dir.string() + CurrentFile::kSeparators.front());
  }
  ASSERT_EQ(ui.saveRequests.size(), 4u);
  EXPECT_EQ(ui.saveRequests[1].fileName, "radio.txt.dat");
  EXPECT_EQ(ui.saveRequests[0].extension, "dat");
  EXPECT_EQ(ui.saveRequests[0].filterName, idText(10007001));
  EXPECT_EQ(ui.saveRequests[0].folder, dir.string() + CurrentFile::kSeparators.front());
}

TEST_F(DataFileFlowsTest, SaveAsAsksBeforeReplacingAFileUnderTheExtendedName) {
  writeFileBytes(dir / "radio.txt.dat", "keep me");
  ui.saveChoices.push_back((dir / "radio.txt").string());
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(flows.saveDataFileAs());
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{replaceText("radio.txt.dat")});
  EXPECT_EQ(readFileBytes(dir / "radio.txt.dat"), "keep me");
  EXPECT_EQ(file.fileName(), "vpr40t.dat");
}

TEST_F(DataFileFlowsTest, ACancelledSaveAsChangesNothing) {
  modify();
  ui.saveChoices.push_back(std::nullopt);
  EXPECT_FALSE(flows.saveDataFileAs());
  EXPECT_TRUE(data.isModified());
  EXPECT_EQ(file.fileName(), "vpr40t.dat");
  EXPECT_TRUE(fs::is_empty(dir));
}

// --- The save-changes question ---------------------------------------------------------------

TEST_F(DataFileFlowsTest, AnUnchangedImageIsNotOfferedForSaving) {
  EXPECT_FALSE(flows.promptSaveChanges());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DataFileFlowsTest, TheSaveChangesQuestionNamesTheFile) {
  modify();
  ui.answers.push_back(MessageAnswer::No);
  EXPECT_FALSE(flows.promptSaveChanges());
  ASSERT_EQ(ui.messages.size(), 1u);
  const MessageRequest& box = ui.messages[0];
  EXPECT_EQ(box.text, saveChangesText());
  EXPECT_EQ(box.kind, MessageKind::Product);
  EXPECT_EQ(box.caption, "VPR-40T");
  EXPECT_EQ(box.buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(ui.saveRequests.empty());
}

TEST_F(DataFileFlowsTest, CancelStopsTheCommand) {
  modify();
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_TRUE(flows.promptSaveChanges());
}

TEST_F(DataFileFlowsTest, YesWithoutACompletedSaveStopsTheCommand) {
  modify();
  ui.answers.push_back(MessageAnswer::Yes);
  ui.saveChoices.push_back(std::nullopt); // the user cancels the file dialog
  EXPECT_TRUE(flows.promptSaveChanges());

  ui.answers.push_back(MessageAnswer::Yes);
  ui.saveChoices.push_back((dir / "missing" / "x.dat").string()); // the write fails
  EXPECT_TRUE(flows.promptSaveChanges());
  EXPECT_TRUE(data.isModified());
}

TEST_F(DataFileFlowsTest, YesWithACompletedSaveLetsTheCommandGoOn) {
  modify();
  ui.answers.push_back(MessageAnswer::Yes);
  ui.saveChoices.push_back((dir / "kept.dat").string());
  EXPECT_FALSE(flows.promptSaveChanges());
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(file.fileName(), "kept.dat");
}

TEST_F(DataFileFlowsTest, NewIsStoppedWhenTheUnsavedChangesCouldNotBeSaved) {
  modify();
  const RadioImage edited = data.editImage;
  ui.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
  ui.saveChoices.push_back(std::nullopt);
  EXPECT_FALSE(flows.newData());
  EXPECT_EQ(data.editImage, edited);
  EXPECT_EQ(viewsClosed, 0);
}

// --- New -------------------------------------------------------------------------------------

TEST_F(DataFileFlowsTest, NewAsksFirstAndCancelKeepsEverything) {
  modify();
  const RadioImage edited = data.editImage;
  EXPECT_FALSE(flows.newData()); // the confirmation's default is Cancel
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{idText(10026013)});
  EXPECT_EQ(data.editImage, edited);
}

TEST_F(DataFileFlowsTest, NewBuildsTheDefaultImageOfTheCurrentModel) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(13));
  file.setFileName("mine.dat");
  modify();
  ui.answers = {MessageAnswer::Ok, MessageAnswer::No};
  ASSERT_TRUE(flows.newData());
  EXPECT_EQ(data.editImage, test::rowImage(13));
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(file.fileName(), "vpr40t.dat");
  EXPECT_EQ(viewsClosed, 1);
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{idText(10026013), idText(10026010) + " \"mine.dat\" ?"}));
}

// --- Open ------------------------------------------------------------------------------------

TEST_F(DataFileFlowsTest, OpenLoadsTheFileAsTheSavedWorkingImage) {
  fs::create_directory(dir / "sub");
  const RadioImage image = writeOtherFile(dir / "sub" / "other.dat");
  std::string text = "150.5";
  data.setChannelFrequency(1, text, FrequencyField::Receive);
  data.copyChannels(1, 2);
  ui.answers.push_back(MessageAnswer::No);
  ui.openChoices.push_back((dir / "sub" / "other.dat").string());
  ASSERT_TRUE(flows.openDataFile());
  EXPECT_EQ(data.editImage, image);
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(data.channelCount(), 16);
  EXPECT_EQ(file.fileName(), "other.dat");
  EXPECT_EQ(file.folder(), (dir / "sub").string() + CurrentFile::kSeparators.front());
  EXPECT_EQ(viewsClosed, 1);
  EXPECT_EQ(ui.openRequests.at(0).folder, dir.string() + CurrentFile::kSeparators.front());
  EXPECT_TRUE(data.channelClipboard().isEmpty());
}

TEST_F(DataFileFlowsTest, EveryRefusedFileLeavesImageAndFileAlone) {
  test::loadLanguage(false); // real wording, so that the arguments can be seen
  RadioImage listed = test::rowImage(0);
  std::string unlisted(reinterpret_cast<const char*>(DataFile::fileBytes(listed).data()),
                       DataFile::kFileSize);
  unlisted[17] = 0x23;
  const std::string good(reinterpret_cast<const char*>(DataFile::fileBytes(listed).data()),
                         DataFile::kFileSize);
  struct Case {
    const char* name;
    std::string bytes;
    std::string message;
  };
  const Case cases[] = {
      {"other.dat", std::string("VPR30T\xFF\xFF\xFF\xFF", 10) + good.substr(10),
       formatText(textOf(10026061), {"other.dat", "VPR30T"})},
      {"notes.dat", "shopping list\r\n", formatText(textOf(10026062), {"notes.dat"})},
      {"short.dat", good.substr(0, 1073), formatText(textOf(10026062), {"short.dat"})},
      {"unlisted.dat", unlisted, textOf(10026014)},
  };
  modify();
  const RadioImage edited = data.editImage;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFileBytes(dir / c.name, c.bytes);
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::No);
    ui.openChoices.push_back((dir / c.name).string());
    EXPECT_FALSE(flows.openDataFile());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[1].text, c.message + "\n\nFile: " + (dir / c.name).string());
    EXPECT_EQ(data.editImage, edited);
    EXPECT_EQ(file.fileName(), "vpr40t.dat");
    EXPECT_EQ(file.folder(), dir.string() + CurrentFile::kSeparators.front());
  }
  EXPECT_EQ(viewsClosed, 0);
}

TEST_F(DataFileFlowsTest, OpenIsStoppedByCancelInTheSaveChangesQuestion) {
  modify();
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(flows.openDataFile());
  EXPECT_TRUE(ui.openRequests.empty());
}

} // namespace
} // namespace vpr
