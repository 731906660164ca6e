// A virtual Halvix on /dev/uhid, running until SIGINT or SIGTERM.
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/timer_thread.h"
#include "sim/event_log.h"
#include "sim/script.h"
#include "sim/script_runner.h"
#include "virtual_halvix.h"

namespace {

constexpr char kUsage[] =
    "usage: vantrel-virtual-halvix [--version=N] [--name=TEXT] [--log=FILE] [--script=FILE]\n"
    "                              [--report-id=N] [--report-bytes=N]\n"
    "  --version=N       firmware version 10..99 (default 23)\n"
    "  --name=TEXT       product string (default \"Halvix CW VerX.Y\" for version XY)\n"
    "  --log=FILE        append every command, key and PTT change and input report to FILE\n"
    "  --script=FILE     play the operator's actions in FILE (unplug and plug included)\n"
    "  --report-id=N     number the reports with id N (1..255; default unnumbered)\n"
    "  --report-bytes=N  data bytes per report, 8..64 (default 8)\n";

struct Options {
  vantrel::tools::VirtualHalvixConfig config;
  std::string log;
  std::string script;
};

std::optional<unsigned> Number(std::string_view text, unsigned low, unsigned high) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

bool Take(std::string_view argument, Options& options) {
  const auto eq = argument.find('=');
  if (eq == std::string_view::npos) return false;
  const auto name = argument.substr(0, eq);
  const auto value = argument.substr(eq + 1);
  if (name == "--name") options.config.name = value;
  if (name == "--log") options.log = value;
  if (name == "--script") options.script = value;
  if (name == "--name" || name == "--log" || name == "--script") return !value.empty();
  if (name == "--version") {
    const auto version = Number(value, 10, 99);
    options.config.sim.firmwareVersion = version.value_or(0);
    return version.has_value();
  }
  if (name == "--report-id") {
    const auto id = Number(value, 1, 255);
    options.config.shape.reportId = static_cast<std::uint8_t>(id.value_or(0));
    return id.has_value();
  }
  if (name == "--report-bytes") {
    const auto bytes = Number(value, 8, 64);
    options.config.shape.bytes = bytes.value_or(0);
    return bytes.has_value();
  }
  return false;
}

int Fail(const std::string& message) {
  std::cerr << "vantrel-virtual-halvix: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  options.config.sim.keepHistory = false;
  for (int i = 1; i < argc; ++i) {
    if (!Take(argv[i], options)) {
      std::cerr << "vantrel-virtual-halvix: cannot take \"" << argv[i] << "\"\n" << kUsage;
      return 2;
    }
  }
  std::string error;
  std::vector<vantrel::sim::ScriptAction> script;
  if (!options.script.empty()) script = vantrel::sim::ReadScriptFile(options.script, error);
  if (!error.empty()) {
    std::cerr << error;
    return 2;
  }
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  vantrel::platform::ThreadTimerService timers("vantrel-sim");
  std::unique_ptr<vantrel::sim::EventLog> log;
  std::unique_ptr<vantrel::tools::VirtualHalvix> halvix;
  try {
    halvix = std::make_unique<vantrel::tools::VirtualHalvix>(timers, options.config);
  } catch (const std::runtime_error& failure) {
    return Fail(std::string(failure.what()) +
                " (load the uhid module, and run as root or with write access to /dev/uhid)");
  }
  if (!options.log.empty()) {
    log = vantrel::sim::EventLog::AppendingTo(options.log, halvix->Device().StartTime(), error);
    if (!log) return Fail(error);
    halvix->Device().SetEventLog(log.get());
  }
  std::optional<vantrel::sim::ScriptRunner> runner;
  if (!script.empty()) runner.emplace(timers, halvix->Device(), script);
  int signal = 0;
  sigwait(&stop, &signal);
  runner.reset();
  halvix->Device().SetEventLog(nullptr);
  return 0;
}
