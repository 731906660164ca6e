// Idle cost of the running window: CPU time per second of wall time, resident memory and
// wake-ups (voluntary context switches) of every thread, over 30 s after start-up settles;
// once with a simulated firmware 23 interface reporting every 5 ms, once with no interface
// attached (the real HID bus, on which nothing enumerates here).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "bench_table.h"
#include "child_process.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;

constexpr auto kSettle = std::chrono::seconds(3);

struct ThreadSample {
  std::string name;
  double cpuNs = 0;
  long wakeUps = 0;
};

struct Sample {
  std::chrono::steady_clock::time_point at;
  std::map<std::string, ThreadSample> threads;  // by thread id
};

std::string FieldOf(const std::filesystem::path& status, const std::string& key) {
  std::ifstream in(status);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + ":", 0) == 0) return line.substr(key.size() + 1);
  }
  return {};
}

Sample Take(pid_t pid) {
  Sample sample;
  sample.at = std::chrono::steady_clock::now();
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    ThreadSample thread;
    std::ifstream(task.path() / "comm") >> thread.name;
    std::ifstream(task.path() / "schedstat") >> thread.cpuNs;
    thread.wakeUps = std::atol(FieldOf(task.path() / "status", "voluntary_ctxt_switches").c_str());
    sample.threads[task.path().filename()] = thread;
  }
  return sample;
}

double ResidentMb(pid_t pid) {
  const std::string kb = FieldOf("/proc/" + std::to_string(pid) + "/status", "VmRSS");
  return std::atof(kb.c_str()) / 1024.0;
}

void Measure(const std::string& program, const std::string& name,
             const std::vector<std::string>& arguments, int seconds) {
  vantrel::bench::RunDirectory dir;
  const pid_t pid = vantrel::bench::StartProgram(program, arguments, dir);
  std::this_thread::sleep_for(kSettle);
  const Sample first = Take(pid);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const Sample last = Take(pid);
  const double rss = ResidentMb(pid);
  kill(pid, SIGTERM);
  vantrel::bench::WaitForExit(pid, std::chrono::seconds(5));

  const double wall = std::chrono::duration<double>(last.at - first.at).count();
  double cpuNs = 0;
  long wakeUps = 0;
  std::map<std::string, std::pair<double, long>> perName;
  for (const auto& [tid, thread] : last.threads) {
    const auto before = first.threads.find(tid);
    const double cpu = thread.cpuNs - (before != first.threads.end() ? before->second.cpuNs : 0);
    const long woke = thread.wakeUps - (before != first.threads.end() ? before->second.wakeUps : 0);
    cpuNs += cpu;
    wakeUps += woke;
    perName[thread.name].first += cpu;
    perName[thread.name].second += woke;
  }
  PrintRow(name, "CPU time per wall second (% of one core)",
           Figure(100.0 * cpuNs / 1e9 / wall, "%", 3), "< 0.5 %");
  PrintRow(name, "resident memory", Figure(rss, "MB", 1), "< 80 MB");
  PrintRow(name, "wake-ups per second, all threads", Figure(wakeUps / wall, "/s", 1));
  for (const auto& [thread, figures] : perName) {
    PrintRow(name, "  thread " + thread + ": wake-ups/s, CPU %",
             Figure(figures.second / wall, "/s", 1) + " " +
                 Figure(100.0 * figures.first / 1e9 / wall, "%", 3));
  }
}

}  // namespace

// Arguments: the program (this build's unless given) and the seconds to watch (30).
int main(int argc, char** argv) {
  const std::string program = vantrel::bench::ProgramUnderTest(argc, argv);
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
  vantrel::bench::PrintHeader();
  Measure(program, "idle sim fw23 5 ms", {"--simulate=23"}, seconds);
  Measure(program, "idle no interface", {}, seconds);
  return 0;
}
