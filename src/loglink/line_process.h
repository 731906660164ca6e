#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "loglink/unique_fd.h"

namespace vantrel::loglink {

// A child program spoken to in lines: Vantrel writes to its standard input, and a reader
// thread hands each line of its standard output to `onLine`. Destroying it ends the program:
// its input is closed, and it is killed if it has not left within the command's exit bound.
class LineProcess {
 public:
  struct Pipe {
    UniqueFd read;
    UniqueFd write;
  };

  using LineHandler = std::function<void(std::string_view line)>;

  struct Command {
    std::vector<std::string> argv;         // argv[0] is looked up in PATH
    std::vector<std::string> environment;  // "NAME=value" added to Vantrel's own
    bool keepErrorOutput = false;          // otherwise its standard error goes to /dev/null
    // How long an ending waits for the program to leave by itself before it is killed.
    std::chrono::milliseconds exitBound{1000};
  };

  // Empty when the program cannot be started; `error` then says why.
  static std::unique_ptr<LineProcess> Start(const Command& command, LineHandler onLine,
                                            std::string& error);
  LineProcess(const LineProcess&) = delete;
  LineProcess& operator=(const LineProcess&) = delete;
  ~LineProcess();

  // False once the program has ended.
  bool Running();
  // False when the line could not be written whole at once.
  bool WriteLine(std::string_view line);

 private:
  LineProcess(pid_t pid, std::chrono::milliseconds exitBound, UniqueFd input, UniqueFd output,
              Pipe stop, LineHandler onLine);
  void ReadLines(int output, int stop);
  void Reap();

  pid_t pid_;
  std::chrono::milliseconds exitBound_;
  bool reaped_ = false;
  UniqueFd input_;
  UniqueFd output_;
  Pipe stop_;  // closing its write end stops the reader
  LineHandler onLine_;
  std::thread reader_;
};

}  // namespace vantrel::loglink
