// Start-up and exit of the program on a simulated firmware 23 interface, on a real X display
// (run under xvfb-run): process start to the window mapped on the display, and to the last
// command of the start-up sequence in the interface's event log; then the window's close
// request to the process's end. Medians of ten runs.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_table.h"
#include "child_process.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using vantrel::bench::Figure;
using vantrel::bench::PrintRow;

constexpr int kRuns = 10;
// The start-up sequence is over once no command has followed for this long.
constexpr auto kQuietAfterStartUp = std::chrono::milliseconds(1500);

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

class Display {
 public:
  Display() : connection_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection_)) return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    protocols_ = Atom("WM_PROTOCOLS");
    deleteWindow_ = Atom("WM_DELETE_WINDOW");
    xcb_flush(connection_);
  }
  ~Display() { xcb_disconnect(connection_); }
  bool Usable() const { return xcb_connection_has_error(connection_) == 0; }
  int Fd() const { return xcb_get_file_descriptor(connection_); }

  // A top-level window mapped since the last call, if any.
  std::optional<xcb_window_t> TakeMapped() {
    std::optional<xcb_window_t> mapped;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
        if (!map->override_redirect) mapped = map->window;
      }
      std::free(event);
    }
    return mapped;
  }

  // What the window manager's close box sends.
  void RequestClose(xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols_;
    message.data.data32[0] = deleteWindow_;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
  }

 private:
  xcb_atom_t Atom(const char* name) {
    auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }

  xcb_connection_t* connection_;
  xcb_window_t root_ = 0;
  xcb_atom_t protocols_ = XCB_ATOM_NONE;
  xcb_atom_t deleteWindow_ = XCB_ATOM_NONE;
};

std::size_t CommandLines(const std::filesystem::path& log) {
  std::ifstream in(log);
  std::size_t count = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" OUT ") != std::string::npos) ++count;
  }
  return count;
}

struct Run {
  double shownMs = -1, startUpCommandsMs = -1, exitMs = -1;
  std::size_t commands = 0;
};

Run Once(const std::string& program, Display& display) {
  vantrel::settings::TempDir dir;
  const std::filesystem::path log = dir.path() / "interface.log";
  std::ofstream(log).close();
  const int watch = inotify_init1(IN_NONBLOCK);
  inotify_add_watch(watch, log.c_str(), IN_MODIFY);
  display.TakeMapped();

  Run run;
  const Clock::time_point start = Clock::now();
  const pid_t pid = vantrel::bench::StartProgram(
      program, {"--simulate=23", "--simulate-log=" + log.string()}, dir.path(), "xcb");
  std::optional<xcb_window_t> window;
  Clock::time_point lastCommand = start;
  while (Clock::now() - lastCommand < kQuietAfterStartUp || !window) {
    pollfd fds[] = {{display.Fd(), POLLIN, 0}, {watch, POLLIN, 0}};
    poll(fds, 2, 50);
    const Clock::time_point now = Clock::now();
    if (!window && (window = display.TakeMapped())) run.shownMs = Ms(now - start);
    char events[4096];
    if (read(watch, events, sizeof events) > 0) {
      const std::size_t commands = CommandLines(log);
      if (commands > run.commands) {
        run.commands = commands;
        lastCommand = now;
        run.startUpCommandsMs = Ms(now - start);
      }
    }
    if (now - start > std::chrono::seconds(20)) break;
  }
  close(watch);
  if (window) {
    const Clock::time_point closing = Clock::now();
    display.RequestClose(*window);
    if (vantrel::bench::WaitForExit(pid, std::chrono::seconds(10))) {
      run.exitMs = Ms(Clock::now() - closing);
    }
  } else {
    vantrel::bench::WaitForExit(pid, std::chrono::milliseconds(0));
  }
  return run;
}

double Median(std::vector<double> values) {
  return vantrel::bench::Percentile(std::move(values), 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = vantrel::bench::ProgramUnderTest(argc, argv);
  Display display;
  vantrel::bench::PrintHeader();
  if (!display.Usable()) {
    PrintRow("start-up sim fw23", "no X display: run under xvfb-run", "-");
    return 1;
  }
  std::vector<double> shown, commands, exits;
  std::size_t commandCount = 0;
  for (int i = 0; i < kRuns; ++i) {
    const Run run = Once(program, display);
    shown.push_back(run.shownMs);
    commands.push_back(run.startUpCommandsMs);
    exits.push_back(run.exitMs);
    commandCount = run.commands;
  }
  const std::string name = "start-up sim fw23";
  PrintRow(name, "runs", std::to_string(kRuns));
  PrintRow(name, "start to window mapped, median", Figure(Median(shown), "ms", 1));
  PrintRow(name, "start to last start-up command, median", Figure(Median(commands), "ms", 1));
  PrintRow(name, "start-up commands written", std::to_string(commandCount));
  PrintRow(name, "close request to process end, median", Figure(Median(exits), "ms", 1));
  return 0;
}
