#pragma once
// Runs vpr40t-cli as a process with pipes on its standard input and output, for the tests that
// talk to an interactive session line by line, as an alignment bench does.

#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vpr::test {

class CliProcess {
public:
  explicit CliProcess(const std::vector<std::string>& arguments) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      ::close(in[0]);
      ::close(in[1]);
      ::close(out[0]);
      ::close(out[1]);
      const std::string tool = binaryPath("cli/vpr40t-cli");
      std::vector<char*> argv{const_cast<char*>(tool.c_str())};
      for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(tool.c_str(), argv.data());
      _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~CliProcess() {
    closeInput();
    if (output_ >= 0) ::close(output_);
    if (pid_ > 0 && status_ < -1) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void send(const std::string& text) { [[maybe_unused]] auto n = ::write(input_, text.data(), text.size()); }
  void closeInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }
  // The next line of standard output, or nothing when none came within the wait.
  std::optional<std::string> readLine(std::chrono::milliseconds wait = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      if (const auto end = buffer_.find('\n'); end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd fd{output_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[256];
      const ssize_t n = ::read(output_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  void signal(int number) { kill(pid_, number); }
  // The exit status (-1 when it did not exit normally).
  int wait() {
    int raw = 0;
    waitpid(pid_, &raw, 0);
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status_;
  }

private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int status_ = -2;
  std::string buffer_;
};

} // namespace vpr::test
