#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"
#include "settings/data_table.h"
#include "split.h"

namespace vantrel::keyer::testing {
namespace {

using vantrel::testing::Split;

using Reports = std::vector<std::vector<std::uint8_t>>;

// "STATUS 15 6, UP 6 0": each message by name with its two parameters.
std::string Messages(const std::vector<platform::PostedMessage>& posted) {
  static const char* const kNames[] = {"DECODED", "DONE", "SPEED", "STATUS", "PADDLE", "INPUT",
                                       "UP",      "DOWN", "RESET", "CHAR",   "WORD"};
  std::string text;
  for (const auto& m : posted) {
    text += (text.empty() ? "" : ", ") + std::string(kNames[m.message - WM_KEYER_DECODED]) + " " +
            std::to_string(m.wParam) + " " + std::to_string(m.lParam);
  }
  return text;
}

// The engine calls a step may make, each giving its result (0 for those without one).
using Call = std::function<int(CCwDevice&, const std::string&)>;
const auto U = [](const std::string& a) { return static_cast<unsigned>(std::stoul(a)); };
const auto F = [](const std::string& a) { return std::stof(a); };
const auto B = [](const std::string& a) { return a == "1"; };
const std::map<std::string, Call> kCalls = {
    {"SetSpeed", [](auto& d, auto& a) { return d.SetSpeed(U(a)); }},
    {"SetDotWeight", [](auto& d, auto& a) { return d.SetDotWeight(F(a)); }},
    {"SetDashWeight", [](auto& d, auto& a) { return d.SetDashWeight(F(a)); }},
    {"SetPttDelayBefore", [](auto& d, auto& a) { return d.SetPttDelayBefore(U(a)); }},
    {"SetPttDelayAfter", [](auto& d, auto& a) { return d.SetPttDelayAfter(U(a)); }},
    {"SetCharInterval", [](auto& d, auto& a) { return d.SetCharInterval(F(a)); }},
    {"SetWordInterval", [](auto& d, auto& a) { return d.SetWordInterval(F(a)); }},
    {"SendText", [](auto& d, auto& a) { return d.SendText(a); }},
    {"SetPttControl", [](auto& d, auto& a) { return d.SetPttControl(B(a)), 0; }},
    {"SetPaddleReverse", [](auto& d, auto& a) { return d.SetPaddleReverse(B(a)), 0; }},
    {"SetSidetoneIndex", [](auto& d, auto& a) { return d.SetSidetoneIndex(U(a)), 0; }},
    {"SendSidetoneIndex", [](auto& d, auto& a) { return d.SendSidetoneIndex(U(a)), 0; }},
    {"SetPttHold", [](auto& d, auto& a) { return d.SetPttHold(B(a)), 0; }},
    {"SetDecodeEnabled", [](auto& d, auto& a) { return d.SetDecodeEnabled(B(a)), 0; }},
    {"SetPcSidetone", [](auto& d, auto& a) { return d.SetPcSidetone(B(a)), 0; }},
    {"SetPcSidetoneFreq", [](auto& d, auto& a) { return d.SetPcSidetoneFreq(U(a)), 0; }},
    {"StopSending", [](auto& d, auto&) { return d.StopSending(), 0; }},
    {"ClearBuffer", [](auto& d, auto&) { return d.ClearBuffer(), 0; }},
};

const auto N = [](auto value) { return std::to_string(static_cast<long long>(value)); };
// UTF-8 text, in characters of one or two bytes, as UTF-16.
std::u16string Wide(const std::string& text) {
  std::u16string wide;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    wide += static_cast<char16_t>(c < 0x80 ? c : (c & 0x1F) << 6 | (text[++i] & 0x3F));
  }
  return wide;
}

// "00 05 A8, =00 01": hex reports, each zero padded to 9 bytes unless marked "=".
Reports ReportList(const std::string& text) {
  Reports reports;
  for (const auto& report : Split(text, ',')) {
    auto& bytes = reports.emplace_back();
    std::istringstream in(report.substr(report[0] == '=' ? 1 : 0));
    for (unsigned value = 0; in >> std::hex >> value;) bytes.push_back(value);
    if (report[0] != '=') bytes.resize(9, 0);
  }
  return reports;
}

std::pair<std::string, std::string> VerbAndRest(const std::string& step) {
  const auto space = std::min(step.find(' '), step.size());
  return {step.substr(0, space), step.substr(std::min(space + 1, step.size()))};
}

// Before the engine opens: "in N" and "out N" set the report lengths of hid:0, "product S" and
// "maker S" its strings, "add PATH VID PRODUCT" attaches another interface.
void Prepare(EngineRig& rig, const std::string& steps) {
  for (const auto& step : Split(steps)) {
    const auto [verb, rest] = VerbAndRest(step);
    if (verb == "in") rig.hid->inputLength = std::stoul(rest);
    if (verb == "out") rig.hid->outputLength = std::stoul(rest);
    if (verb == "product") rig.hid->product = Wide(rest);
    if (verb == "maker") rig.hid->manufacturer = Wide(rest);
    if (verb == "add") {
      const auto [path, more] = VerbAndRest(rest);
      const auto [vid, product] = VerbAndRest(more);
      const auto vendorId = static_cast<std::uint16_t>(std::stoul(vid, nullptr, 16));
      rig.bus.devices.push_back(std::make_shared<FakeHidBus::Device>(
          FakeHidBus::Device{.path = path, .vendorId = vendorId, .product = Wide(product)}));
    }
  }
}

using Query = std::function<std::string(EngineRig&)>;
const std::map<std::string, Query> kQueries = {
    {"fw", [](auto& r) { return N(r.device->FirmwareVersion()); }},
    {"link", [](auto& r) { return N(r.device->LinkOpen()); }},
    {"readers", [](auto& r) { return N(r.device->ReaderThreadCount()); }},
    {"opens", [](auto& r) { return N(r.hid->opens); }},
    {"others",
     [](auto& r) {
       return N(std::ranges::count_if(r.bus.devices,
                                      [&](const auto& d) { return d != r.hid && d->opens; }));
     }},
    {"lines", [](auto& r) { return N(r.device->OutputLines()); }},
    {"keying", [](auto& r) { return N(r.device->GetKeyingState()); }},
    {"memory", [](auto& r) { return N(r.device->GetPaddleMemory()); }},
    {"ptt", [](auto& r) { return N(r.device->GetPttState()); }},
    {"kana", [](auto& r) { return N(r.device->KanaMode()); }},
    {"elements", [](auto& r) { return r.device->ElementString(); }},
    {"pending", [](auto& r) { return N(r.timers.PendingCount()); }},
    {"speed", [](auto& r) { return N(r.device->GetSpeed()); }},
    {"dot", [](auto& r) { return N(r.device->DotLength()); }},
    {"flags",
     [](auto& r) {
       const auto f = r.device->ModeFlags();
       return N(f[0]) + "/" + N(f[1]) + "/" + N(f[2]);
     }},
};

std::string KeyList(const std::vector<platform::KeyEvent>& keys) {
  std::string text;
  for (const auto& k : keys)
    text += (text.empty() ? "" : " ") + N(k.virtualKey) + (k.down ? "+" : "-");
  return text;
}

// Steps the manual clock one millisecond at a time and notes, with its time, every change of
// the key (K down, k up) and PTT (P on, p off) lines from their state at rest, and every
// text-done message (D): "P0 K25 k85 D265".
std::string Timeline(EngineRig& rig) {
  std::string events;
  std::uint8_t lines = kLinesAtRest;
  auto note = [&](char what, std::int64_t ms) {
    events += (events.empty() ? "" : " ") + (what + std::to_string(ms));
  };
  for (std::int64_t ms = 0; ms <= 1600; ++ms) {
    if (ms > 0) rig.timers.AdvanceMs(1);
    const std::uint8_t now = rig.device->OutputLines();
    for (const auto& [line, names] : {std::pair{kPttLine, "Pp"}, std::pair{kKeyLine, "Kk"}}) {
      const bool on = LineActive(now, line);
      if (on != LineActive(lines, line)) note(names[on ? 0 : 1], ms);
    }
    lines = now;
    for (const auto& m : rig.window.Take()) {
      if (m.message == WM_KEYER_TEXT_DONE) note('D', ms);
    }
  }
  return events;
}

void WaitReaders(EngineRig& rig) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (rig.device->ReaderThreadCount() != 0) {
    ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the reader did not end";
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Steps: engine calls as in kCalls; "feed R, R" (reports, each waited for; "=R" unpadded),
// "ms N", "unplug", "plug", "failwrites 0|1", "wait" (until no reader runs), "reset" (destroys
// the engine), "drop" (forgets writes, messages, keys and tones), "result N" (the sum of the
// call results since the last); checks "writes R, R", "msgs M", "keys 18+ 18-", "timeline T",
// "tone Open880" and "is name=value ...".
void Play(EngineRig& rig, const std::string& steps) {
  int sum = 0;
  std::istringstream in(steps);
  for (std::string step; std::getline(in, step, ';');) {
    step.erase(0, std::min(step.find_first_not_of(' '), step.size()));
    SCOPED_TRACE(step);
    const auto [verb, rest] = VerbAndRest(step);
    if (verb == "feed") {
      rig.bus.Feed(rig.hid, ReportList(rest));
    } else if (verb == "ms") {
      rig.timers.AdvanceMs(std::stoll(rest));
    } else if (verb == "unplug" || verb == "plug") {
      rig.bus.Change(rig.hid, [&](auto& d) { d.present = verb == "plug"; });
      if (verb == "unplug") WaitReaders(rig);
    } else if (verb == "failwrites") {
      rig.bus.Change(rig.hid, [&](auto& d) { d.failWrites = rest == "1"; });
    } else if (verb == "wait") {
      WaitReaders(rig);
    } else if (verb == "reset") {
      rig.device.reset();
    } else if (verb == "drop") {
      rig.TakeWrites(), rig.window.Take(), rig.keys.Take(), rig.tone.Take();
    } else if (verb == "result") {
      EXPECT_EQ(std::exchange(sum, 0), std::stoi(rest));
    } else if (verb == "writes") {
      EXPECT_EQ(rig.TakeWrites(), ReportList(rest));
    } else if (verb == "msgs") {
      EXPECT_EQ(Messages(rig.window.Take()), rest);
    } else if (verb == "keys") {
      EXPECT_EQ(KeyList(rig.keys.Take()), rest);
    } else if (verb == "timeline") {
      EXPECT_EQ(Timeline(rig), rest);
    } else if (verb == "tone") {
      EXPECT_EQ(platform::ToneList(rig.tone.Take()), rest);
    } else if (verb == "is") {
      for (const auto& check : Split(rest, ' ')) {
        const auto equals = check.find('=');
        EXPECT_EQ(kQueries.at(check.substr(0, equals))(rig), check.substr(equals + 1)) << check;
      }
    } else {
      sum += kCalls.at(verb)(*rig.device, rest);
    }
  }
}

TEST(Engine, ScenariosOnTheFakeBus) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/scenarios.txt")) {
    SCOPED_TRACE(row[0]);
    EngineRig rig(std::stoul(row[1]), [&](EngineRig& r) { Prepare(r, row[2]); });
    Play(rig, row[3]);
  }
}

}  // namespace
}  // namespace vantrel::keyer::testing
