#include "cli/CliRunner.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/DisplayText.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace vpr {
namespace {

namespace fs = std::filesystem;

// The print command end to end: the PDF it writes is read back with the poppler tools, as text
// and as pixels.
class CliPrintTest : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(); }
  void TearDown() override { test::unloadLanguage(); }

  test::CliRun cli(const std::vector<std::string>& arguments) { return test::runCli(dir, arguments); }

  // Runs a shell command in the test folder and returns its standard output.
  std::string shell(const std::string& command) {
    const std::string full = "cd " + test::shellQuoted(dir.string()) + " && " + command + " >shell.txt 2>&1";
    EXPECT_EQ(std::system(full.c_str()), 0) << command;
    const std::string out = test::readFileBytes(dir / "shell.txt");
    fs::remove(dir / "shell.txt");
    return out;
  }
  int pages(const std::string& pdf) {
    std::smatch match;
    const std::string info = shell("pdfinfo " + pdf);
    if (!std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)"))) return -1;
    return std::stoi(match[1]);
  }
  std::string text(const std::string& pdf, int page = 0) {
    const std::string range = page ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return shell("pdftotext -layout" + range + " " + pdf + " -");
  }
  void save(const RadioData& data, const std::string& name) {
    std::error_code error;
    ASSERT_EQ(DataFile::writeDataFile((dir / name).string(), data.editImage, error), DataFile::Written);
  }

  fs::path dir = test::makeTempDir();
};

// Where the ink of a word lies on a rasterised page: how much of it falls inside the word's box
// (the box pdftotext reports, grown by half its height above and below), and how it divides
// between the lower and the upper half of the inked rows inside the box. Rows that are dark
// across the whole box width are rules, not glyphs, and do not count.
struct InkOfWord {
  long inside = 0;
  long outside = 0;
  long lower = 0;
  long upper = 0;
};

InkOfWord inkOfWord(const std::string& pgmPath, double xMin, double yMin, double xMax, double yMax,
                    double pixelsPerPoint) {
  std::ifstream in(pgmPath, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  EXPECT_EQ(magic, "P5");
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  const auto at = [&](int x, int y) {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  };
  const int x0 = std::max(static_cast<int>(xMin * pixelsPerPoint), 0);
  const int x1 = std::min(static_cast<int>(xMax * pixelsPerPoint), width - 1);
  const int y0 = static_cast<int>(yMin * pixelsPerPoint), y1 = static_cast<int>(yMax * pixelsPerPoint);
  const int grow = (y1 - y0) / 2;
  InkOfWord result;
  std::vector<long> inside;
  for (int y = std::max(y0 - grow, 0); y <= std::min(y1 + grow, height - 1); ++y) {
    long ink = 0;
    int dark = 0;
    for (int x = x0; x <= x1; ++x) {
      ink += 255 - at(x, y);
      dark += at(x, y) < 128 ? 1 : 0;
    }
    if (dark >= (x1 - x0 + 1) * 9 / 10) ink = 0;
    if (y >= y0 && y <= y1) {
      inside.push_back(ink);
      result.inside += ink;
    } else {
      result.outside += ink;
    }
  }
  std::size_t first = 0, last = inside.size();
  while (first < inside.size() && inside[first] == 0)
    ++first;
  while (last > first && inside[last - 1] == 0)
    --last;
  const std::size_t middle = (first + last) / 2;
  for (std::size_t r = first; r < last; ++r)
    (r < middle ? result.upper : result.lower) += inside[r];
  return result;
}

TEST_F(CliPrintTest, TheDefaultImagePrintsTheSettingsPageAndItsChannelPages) {
  ASSERT_EQ(cli({"new", "--row", "0", "-o", "x.dat"}).status, 0);
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  int programmed = 0;
  for (int n = 1; n <= data.channelCount(); ++n)
    programmed += data.channelSlot(n).isProgrammed() ? 1 : 0;

  const test::CliRun run = cli({"print", "x.dat", "--pdf", "x.pdf"});
  ASSERT_EQ(run.status, 0) << run.err;
  const int expected = 1 + (programmed + 5) / 6;
  EXPECT_EQ(pages("x.pdf"), expected);
  EXPECT_NE(run.out.find("x.pdf"), std::string::npos);

  const std::string first = text("x.pdf", 1);
  EXPECT_NE(first.find("Veskaro VPR-40T " + textOf(10009003)), std::string::npos) << first;
  EXPECT_NE(first.find(textOf(10009006) + " :"), std::string::npos) << first;
  EXPECT_NE(first.find(data.modelNameWithKind()), std::string::npos) << first;
  EXPECT_NE(first.find(data.bandNameText()), std::string::npos) << first;
  for (const int heading : {10027002, 10027001, 10027010})
    EXPECT_NE(first.find(textOf(heading)), std::string::npos) << heading;
  EXPECT_EQ(first.find(textOf(10027012)), std::string::npos) << "channels have pages of their own";
  const TestFreqRecord record = data.testFrequency(1);
  EXPECT_NE(first.find(DisplayText::testFrequencyCell(record, FrequencyField::Receive).text),
            std::string::npos);
  EXPECT_NE(first.find(textOf(DisplayText::kMoniKeyLabelId)), std::string::npos);
  EXPECT_NE(first.find(DisplayText::moniKeyText(data.moniKey()).printed()), std::string::npos) << first;
}

TEST_F(CliPrintTest, AnEditedImagePrintsItsChannelsAsTheViewsShowThem) {
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(2)); // 16 channels
  for (int n = 1; n <= 16; ++n)
    data.deleteChannel(n);
  for (const int n : {2, 5, 9}) {
    std::string rx = "151.0125";
    data.setChannelFrequency(n, rx, FrequencyField::Receive);
  }
  data.setChannelTone(5, ToneField::Receive, "D023N", false);
  std::string none;
  data.setChannelFrequency(9, none, FrequencyField::Transmit); // receive-only
  save(data, "edited.dat");

  ASSERT_EQ(cli({"print", "edited.dat", "--pdf", "all.pdf"}).status, 0);
  EXPECT_EQ(pages("all.pdf"), 2);
  const std::string channels = text("all.pdf", 2);
  EXPECT_NE(channels.find(textOf(10027012)), std::string::npos) << channels;
  EXPECT_NE(channels.find("151.01250"), std::string::npos) << channels;
  EXPECT_NE(channels.find("D023N"), std::string::npos) << channels;
  EXPECT_NE(channels.find("--------------"), std::string::npos) << channels;
  EXPECT_EQ(std::regex_search(channels, std::regex(textOf(10030001) + "\\s+(1|3|4|6|7|8)\\b")), false);

  ASSERT_EQ(
      cli({"print", "edited.dat", "--pdf", "range.pdf", "--sections", "model, channels", "--channels", "3-8"})
          .status,
      0);
  EXPECT_EQ(pages("range.pdf"), 1);
  const std::string range = text("range.pdf");
  EXPECT_NE(range.find("D023N"), std::string::npos);
  EXPECT_EQ(range.find(textOf(10027002)), std::string::npos) << "features were not asked for";

  ASSERT_EQ(cli({"print", "edited.dat", "--pdf", "model.pdf", "--sections", "model"}).status, 0);
  EXPECT_EQ(pages("model.pdf"), 1);
  EXPECT_NE(text("model.pdf").find("HX-4470/4470M [VHF]"), std::string::npos);
}

TEST_F(CliPrintTest, PagesAreUprightInBothOrientations) {
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(2));
  std::string rx = "146.52";
  data.setChannelFrequency(1, rx, FrequencyField::Receive);
  save(data, "x.dat");
  for (const bool landscape : {false, true}) {
    SCOPED_TRACE(landscape ? "landscape" : "portrait");
    std::vector<std::string> arguments = {"print", "x.dat", "--pdf", "x.pdf", "--sections", "channels"};
    if (landscape) arguments.push_back("--landscape");
    ASSERT_EQ(cli(arguments).status, 0);
    fs::remove(dir / "page-1.pgm");

    std::smatch size;
    const std::string info = shell("pdfinfo x.pdf");
    ASSERT_TRUE(std::regex_search(info, size, std::regex("Page size:\\s+([\\d.]+) x ([\\d.]+)")));
    EXPECT_EQ(std::stod(size[1]) > std::stod(size[2]), landscape);

    // "Veskaro" has no descenders: upright, most of its ink is in the lower half of its inked
    // rows (the x-height band); drawn upside down, in the upper half, or off its place.
    const std::string boxes = shell("pdftotext -bbox x.pdf -");
    std::smatch word;
    ASSERT_TRUE(std::regex_search(
        boxes, word,
        std::regex("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">Veskaro<")))
        << boxes;
    std::smatch heading;
    ASSERT_TRUE(std::regex_search(boxes, heading, std::regex("yMin=\"([\\d.]+)\"[^>]*>Information<")));
    EXPECT_LT(std::stod(word[2]), std::stod(heading[1])) << "the title is above the section heading";

    shell("pdftoppm -r 144 -gray x.pdf page");
    const std::string pgm = (dir / "page-1.pgm").string();
    ASSERT_TRUE(fs::exists(pgm));
    const InkOfWord ink =
        inkOfWord(pgm, std::stod(word[1]), std::stod(word[2]), std::stod(word[3]), std::stod(word[4]), 2.0);
    EXPECT_GT(ink.inside, ink.outside * 4) << "the glyphs lie in their box";
    EXPECT_GT(ink.lower, ink.upper * 5 / 4) << "glyphs drawn upside down";
  }
}

TEST_F(CliPrintTest, BadSectionsAndChannelRangesAreUsageErrors) {
  ASSERT_EQ(cli({"new", "--row", "2", "-o", "x.dat"}).status, 0);
  for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{
           {"--sections", "model,frequencies"},
           {"--sections", ""},
           {"--channels", "0-4"},
           {"--channels", "3-17"},
           {"--channels", "8-3"},
           {"--channels", "a-b"},
           {"--channels", "3-"},
       }) {
    SCOPED_TRACE(extra[0] + " " + extra[1]);
    // The command line is checked first, also when the data file cannot be read.
    for (const char* file : {"x.dat", "missing.dat"}) {
      std::vector<std::string> arguments = {"print", file, "--pdf", "x.pdf"};
      arguments.insert(arguments.end(), extra.begin(), extra.end());
      const test::CliRun run = cli(arguments);
      EXPECT_EQ(run.status, 2) << file;
      EXPECT_NE(run.err.find("vpr40t-cli: "), std::string::npos) << run.err;
      EXPECT_FALSE(fs::exists(dir / "x.pdf"));
    }
  }
  EXPECT_EQ(cli({"print", "x.dat"}).status, 2) << "--pdf is required";
}

TEST_F(CliPrintTest, ThePdfGoesToStandardOutputAlone) {
  ASSERT_EQ(cli({"new", "--row", "2", "-o", "x.dat"}).status, 0);
  const test::CliRun run = cli({"print", "x.dat", "--pdf", "-", "--sections", "model"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(dir / "-"));
  std::ofstream(dir / "out.pdf", std::ios::binary) << run.out;
  EXPECT_EQ(run.out.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(pages("out.pdf"), 1);
}

TEST_F(CliPrintTest, AFailedWriteNamesTheCauseAndLeavesTheOldFile) {
  ASSERT_EQ(cli({"new", "--row", "2", "-o", "x.dat"}).status, 0);
  const test::CliRun missingFolder = cli({"print", "x.dat", "--pdf", "no/such/folder/x.pdf"});
  EXPECT_EQ(missingFolder.status, 1);
  EXPECT_NE(missingFolder.err.find("no/such/folder/x.pdf"), std::string::npos) << missingFolder.err;
  EXPECT_NE(missingFolder.err.find("No such file or directory"), std::string::npos) << missingFolder.err;

  // A file size limit makes the write fail half-way, whoever runs the test.
  std::ofstream(dir / "old.pdf") << "the old printout";
  const std::string command =
      "cd " + test::shellQuoted(dir.string()) + " && trap '' XFSZ && ulimit -f 2 && " +
      test::shellQuoted(test::binaryPath("cli/vpr40t-cli")) + " print x.dat --pdf old.pdf >out.txt 2>err.txt";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1);
  EXPECT_NE(test::readFileBytes(dir / "err.txt").find("old.pdf"), std::string::npos);
  EXPECT_EQ(test::readFileBytes(dir / "old.pdf"), "the old printout");
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename().string().find("old.pdf."), std::string::npos)
        << "no temporary file left";
}

} // namespace
} // namespace vpr
