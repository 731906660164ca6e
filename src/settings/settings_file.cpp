#include "settings/settings_file.h"

#include <fstream>
#include <string_view>

#include "settings/atomic_file.h"
#include "settings/number_text.h"

namespace vantrel::settings {
namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string MessageKey(char bank, int number) {
  std::string key = "FnMsg";
  key += bank;
  key += static_cast<char>('0' + number / 10);
  key += static_cast<char>('0' + number % 10);
  return key;
}

std::string_view Flag(bool value) {
  return value ? "TRUE" : "FALSE";
}

void StoreInteger(int& field, std::string_view value, Range<long> range) {
  long number = LeadingInteger(value);
  if (range.Contains(number)) field = static_cast<int>(number);
}

void StoreDecimal(float& field, std::string_view value, Range<double> range) {
  double number = LeadingDecimal(value);
  if (range.Contains(number)) field = static_cast<float>(number);
}

using Apply = void (*)(Settings&, std::string_view);

struct KeyHandler {
  std::string_view key;
  Apply apply;
};

constexpr KeyHandler kHandlers[] = {
    {"MyCALL", [](Settings& s, std::string_view v) { s.MyCALL = v; }},
    {"Number", [](Settings& s, std::string_view v) { s.Number = v; }},
    {"WPM", [](Settings& s, std::string_view v) { StoreInteger(s.WPM, v, kWpmRange); }},
    {"PttdBefore",
     [](Settings& s, std::string_view v) { StoreInteger(s.PttdBefore, v, kPttdBeforeRange); }},
    {"PttdAfter",
     [](Settings& s, std::string_view v) { StoreInteger(s.PttdAfter, v, kPttdAfterRange); }},
    {"SideToneFreq",
     [](Settings& s, std::string_view v) { StoreInteger(s.SideToneFreq, v, kSideToneFreqRange); }},
    {"CqLoopInterval",
     [](Settings& s, std::string_view v) {
       StoreDecimal(s.CqLoopInterval, v, kCqLoopIntervalRange);
     }},
    {"WeightDot",
     [](Settings& s, std::string_view v) { StoreDecimal(s.WeightDot, v, kWeightRange); }},
    {"WeightDash",
     [](Settings& s, std::string_view v) { StoreDecimal(s.WeightDash, v, kWeightRange); }},
    {"IntervalChar",
     [](Settings& s, std::string_view v) { StoreDecimal(s.IntervalChar, v, kIntervalCharRange); }},
    {"IntervalWord",
     [](Settings& s, std::string_view v) { StoreDecimal(s.IntervalWord, v, kIntervalWordRange); }},
    {"Auto", [](Settings& s, std::string_view v) { s.Auto = v == "TRUE"; }},
    {"PaddleRvs", [](Settings& s, std::string_view v) { s.PaddleRvs = v == "TRUE"; }},
    {"PTTCtrl", [](Settings& s, std::string_view v) { s.PTTCtrl = v == "TRUE"; }},
    {"SideTone", [](Settings& s, std::string_view v) { s.SideTone = v == "TRUE"; }},
    {"LogTime", [](Settings& s, std::string_view v) { s.LogTime = v == "TRUE"; }},
    {"SideToneFreqIf",
     [](Settings& s, std::string_view v) {
       s.SideToneFreqIf = v;
       s.SideToneFreqIfIndex = SideToneFreqIfIndexOf(v);
     }},
};

// The message a key such as "FnMsgB07" names, or nullptr.
std::string* MessageFor(Settings& settings, std::string_view key) {
  for (int number = 1; number <= kMessageCount; ++number) {
    if (key == MessageKey('A', number)) return &settings.FnMsgA[number - 1];
    if (key == MessageKey('B', number)) return &settings.FnMsgB[number - 1];
  }
  return nullptr;
}

void ApplyLine(Settings& settings, std::string_view line) {
  std::size_t start = line.find_first_not_of(kWhiteSpace);
  if (start == std::string_view::npos) return;
  std::size_t end = line.find_first_of(kWhiteSpace, start);
  std::string_view key = line.substr(start, end == std::string_view::npos ? end : end - start);
  // The value starts one blank after where the key would be at the start of the line.
  std::string_view value = line.size() > key.size() + 1 ? line.substr(key.size() + 1) : "";
  if (std::string* message = MessageFor(settings, key)) {
    *message = value;
    return;
  }
  for (const KeyHandler& handler : kHandlers) {
    if (handler.key == key) {
      handler.apply(settings, value);
      return;
    }
  }
}

}  // namespace

std::string FormatSettings(const Settings& s) {
  std::string out = "Vantrel.cfg\n";
  auto line = [&out](std::string_view key, std::string_view value) {
    out.append(key).append(" ").append(value).append("\n");
  };
  for (int n = 1; n <= kMessageCount; ++n) line(MessageKey('A', n), s.FnMsgA[n - 1]);
  for (int n = 1; n <= kMessageCount; ++n) line(MessageKey('B', n), s.FnMsgB[n - 1]);
  line("MyCALL", s.MyCALL);
  line("WPM", std::to_string(s.WPM));
  line("CqLoopInterval", FormatSixDecimals(s.CqLoopInterval));
  line("WeightDot", FormatSixDecimals(s.WeightDot));
  line("WeightDash", FormatSixDecimals(s.WeightDash));
  line("IntervalChar", FormatSixDecimals(s.IntervalChar));
  line("IntervalWord", FormatSixDecimals(s.IntervalWord));
  line("PttdBefore", std::to_string(s.PttdBefore));
  line("PttdAfter", std::to_string(s.PttdAfter));
  line("Number", s.Number);
  line("Auto", Flag(s.Auto));
  line("PaddleRvs", Flag(s.PaddleRvs));
  line("PTTCtrl", Flag(s.PTTCtrl));
  line("SideTone", Flag(s.SideTone));
  line("SideToneFreq", std::to_string(s.SideToneFreq));
  line("SideToneFreqIf", s.SideToneFreqIf);
  line("LogTime", Flag(s.LogTime));
  return out;
}

void ReadSettings(Settings& settings, std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    std::string_view view = line;
    view = view.substr(0, view.find('\0'));
    if (!view.empty() && view.back() == '\r') view.remove_suffix(1);
    ApplyLine(settings, view);
  }
}

void LoadSettings(Settings& settings, const std::filesystem::path& dir) {
  std::ifstream in(dir / kSettingsFileName, std::ios::binary);
  if (!in) {
    settings.FnMsgA = settings.MessageFields;
    return;
  }
  ReadSettings(settings, in);
}

bool SaveSettings(const Settings& settings, const std::filesystem::path& dir, FileOps& ops) {
  return WriteFileAtomically(dir / kSettingsFileName, FormatSettings(settings), ops);
}

}  // namespace vantrel::settings
