// The vpr40t-sim program as users start it: options, the printed path, the saved memory.

#include "RadioOnLine.h"

#include "link/RadioTransfer.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vpr::test {
namespace {

// The program running with its standard output on a pipe.
class SimProcess {
public:
  explicit SimProcess(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), binaryPath("sim/vpr40t-sim"));
    std::vector<char*> argv;
    for (auto& a : arguments)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) throw std::runtime_error("cannot start vpr40t-sim");
    output_ = fdopen(out[0], "r");
  }
  ~SimProcess() {
    if (pid_ > 0) stop();
    if (output_) fclose(output_);
  }
  std::string firstLine() {
    char line[256] = {};
    if (!fgets(line, sizeof line, output_)) return {};
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  // Sends SIGTERM and returns the exit status.
  int stop() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
};

using SimProgram = LinkTest;

TEST_F(SimProgram, ServesARowsDefaultImageAndSavesWhatWasWrittenOnTermination) {
  const std::string saved = makeTempDir() + "/saved.dat";
  SimProcess sim({"--row", "3", "--stray", "5", "--save", saved});
  const std::string path = sim.firstLine();
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;

  CRadioComm link;
  link.SetPortPath(1, path);
  FakeUserInterface ui;
  RadioImage image{};
  ASSERT_EQ(runReadTransfer(link, ui, image), 0);
  EXPECT_EQ(image, test::rowImage(3));

  RadioImage edited = image;
  for (std::size_t i = 0x10; i < 0x100; ++i)
    edited[i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(runWriteTransfer(link, ui, edited), 0);
  EXPECT_EQ(sim.stop(), 0);

  const RadioImage stored = test::fileImage(saved);
  EXPECT_EQ(stored, edited);
}

TEST_F(SimProgram, InjectsTheFaultsItIsGiven) {
  SimProcess sim({"--row", "3", "--program-mode", "--silent-after", "10"});
  CRadioComm link;
  link.SetPortPath(1, sim.firstLine());
  FakeUserInterface ui;
  RadioImage image = clearedImage();
  EXPECT_EQ(runReadTransfer(link, ui, image), 1);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_EQ(image, clearedImage());
  EXPECT_EQ(sim.stop(), 0);
}

} // namespace
} // namespace vpr::test
