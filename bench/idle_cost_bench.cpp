// Idle cost of the running window: CPU time per second of wall time, resident memory and
// wake-ups (voluntary context switches) of every thread, over 30 s after start-up settles;
// once with a simulated firmware 23 interface reporting every 5 ms, once with no interface
// attached (the real HID bus, on which nothing enumerates here).
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench_table.h"
#include "child_process.h"
#include "support/temp_dir.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;

constexpr auto kSettle = std::chrono::seconds(3);

struct ThreadSample {
  std::string name;
  double cpuNs = 0;
  long wakeUps = 0;
};

// The simulated interface's timer thread stands in for the interface's own hardware.
constexpr char kSimulatorThread[] = "vantrel-sim";

struct Sample {
  std::chrono::steady_clock::time_point at;
  std::map<long, ThreadSample> threads;  // by thread id
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
    sample.threads[std::stol(task.path().filename())] = thread;
  }
  return sample;
}

double ResidentMb(pid_t pid) {
  const std::string kb = FieldOf("/proc/" + std::to_string(pid) + "/status", "VmRSS");
  return std::atof(kb.c_str()) / 1024.0;
}

// The machine's own price of one wake-up: CPU time of a thread that does nothing but sleep to
// the next 5 ms deadline, per wake-up.
double WakeUpCostUs(int seconds) {
  const auto cpuNs = [] {
    double ns = 0;
    std::ifstream("/proc/thread-self/schedstat") >> ns;
    return ns;
  };
  const double before = cpuNs();
  auto next = std::chrono::steady_clock::now();
  const auto end = next + std::chrono::seconds(seconds);
  long wakeUps = 0;
  while (next < end) {
    next += std::chrono::milliseconds(5);
    std::this_thread::sleep_until(next);
    ++wakeUps;
  }
  return (cpuNs() - before) / 1000.0 / static_cast<double>(wakeUps);
}

// Wake-ups per second of all threads.
double Measure(const std::string& program, const std::string& name,
               const std::vector<std::string>& arguments, int seconds) {
  vantrel::settings::TempDir dir;
  const pid_t pid = vantrel::bench::StartProgram(program, arguments, dir.path());
  std::this_thread::sleep_for(kSettle);
  const Sample first = Take(pid);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const Sample last = Take(pid);
  const double rss = ResidentMb(pid);
  kill(pid, SIGTERM);
  vantrel::bench::WaitForExit(pid, std::chrono::seconds(5));

  const double wall = std::chrono::duration<double>(last.at - first.at).count();
  double cpuNs = 0;
  double ownCpuNs = 0;
  long wakeUps = 0;
  std::map<long, ThreadSample> spent;
  for (const auto& [tid, thread] : last.threads) {
    const auto before = first.threads.find(tid);
    const ThreadSample start = before != first.threads.end() ? before->second : ThreadSample{};
    spent[tid] = {thread.name, thread.cpuNs - start.cpuNs, thread.wakeUps - start.wakeUps};
    cpuNs += spent[tid].cpuNs;
    if (thread.name != kSimulatorThread) ownCpuNs += spent[tid].cpuNs;
    wakeUps += spent[tid].wakeUps;
  }
  PrintRow(name, "CPU time per wall second (% of one core)",
           Figure(100.0 * cpuNs / 1e9 / wall, "%", 3), "< 0.5 %");
  if (ownCpuNs != cpuNs) {
    PrintRow(name, "  without the simulator's own thread",
             Figure(100.0 * ownCpuNs / 1e9 / wall, "%", 3));
  }
  PrintRow(name, "resident memory", Figure(rss, "MB", 1), "< 80 MB");
  PrintRow(name, "wake-ups per second, all threads", Figure(wakeUps / wall, "/s", 1));
  for (const auto& [tid, thread] : spent) {
    const std::string label = tid == pid ? "main thread" : thread.name;
    PrintRow(name, "  " + label + ": wake-ups/s, CPU %",
             Figure(thread.wakeUps / wall, "/s", 1) + " " +
                 Figure(100.0 * thread.cpuNs / 1e9 / wall, "%", 3));
  }
  return wakeUps / wall;
}

}  // namespace

// Arguments: the program (this build's unless given) and the seconds to watch (30).
int main(int argc, char** argv) {
  const std::string program = vantrel::bench::ProgramUnderTest(argc, argv);
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
  vantrel::bench::PrintHeader();
  const double simWakeUps = Measure(program, "idle sim fw23 5 ms", {"--simulate=23"}, seconds);
  // Measured beside the program with nothing attached, which hardly wakes at all.
  double wakeUpUs = 0;
  std::thread floor([&] { wakeUpUs = WakeUpCostUs(seconds); });
  Measure(program, "idle no interface", {}, seconds);
  floor.join();
  PrintRow("machine floor", "CPU per wake-up of a bare 5 ms sleeper", Figure(wakeUpUs, "us", 1));
  PrintRow("machine floor", "sim fw23 wake-ups at that price (% core)",
           Figure(simWakeUps * wakeUpUs / 1e4, "%", 3));
  return 0;
}
