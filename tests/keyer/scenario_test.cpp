#include <gtest/gtest.h>

#include <map>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

template <typename T>
std::string N(T value) {
  return std::to_string(static_cast<long long>(value));
}

std::u16string Wide(const std::string& text) {
  return {text.begin(), text.end()};
}

Reports ReportList(const std::string& text) {
  Reports reports;
  for (const auto& report : Split(text, ','))
    reports.push_back(report[0] == '=' ? Hex(report.substr(1)) : Report9(report));
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
      rig.others.push_back(rig.bus.Add(path, Wide(product)));
      rig.others.back()->vendorId = std::stoul(vid, nullptr, 16);
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
       int opens = 0;
       for (const auto& other : r.others) opens += other->opens;
       return N(opens);
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

std::string ToneList(const std::vector<platform::ToneCall>& calls) {
  static const char* const kOps[] = {"Open", "Start", "Pause", "Close"};
  std::string text;
  for (const auto& c : calls) {
    text +=
        (text.empty() ? "" : " ") + std::string(kOps[static_cast<int>(c.op)]) + N(c.frequencyHz);
  }
  return text;
}

void WaitReaders(EngineRig& rig) {
  ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
}

// Steps as in Act, and: "feed R, R" (reports, each waited for; "=R" unpadded), "ms N",
// "unplug", "plug", "failwrites 0|1", "wait" (until no reader runs), "reset" (destroys the engine),
// "drop" (forgets writes, messages, keys and tones), "result N" (the sum of the calls since the
// last); and checks: "writes R, R", "msgs M", "keys 18+ 18-", "tone Open880", "is name=value ...".
void Play(EngineRig& rig, const std::string& steps) {
  int sum = 0;
  for (const auto& step : Split(steps)) {
    SCOPED_TRACE(step);
    const auto [verb, rest] = VerbAndRest(step);
    if (verb == "feed") {
      rig.Feed(ReportList(rest));
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
    } else if (verb == "tone") {
      EXPECT_EQ(ToneList(rig.tone.Take()), rest);
    } else if (verb == "is") {
      for (const auto& check : Split(rest, ' ')) {
        const auto equals = check.find('=');
        EXPECT_EQ(kQueries.at(check.substr(0, equals))(rig), check.substr(equals + 1)) << check;
      }
    } else {
      sum += Act(*rig.device, step);
    }
  }
}

TEST(Engine, ScenariosOnTheFakeBus) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/scenarios.txt")) {
    SCOPED_TRACE(row[0]);
    EngineRig rig(std::stoul(row[1]), [&](EngineRig& r) { Prepare(r, row[2]); });
    Play(rig, row[3]);
  }
}

}  // namespace
}  // namespace vantrel::keyer::testing
