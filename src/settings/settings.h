#pragma once

#include <array>
#include <string>
#include <string_view>

#include "keyer/keyer_params.h"
#include "loglink/log_link_settings.h"

namespace vantrel::settings {

inline constexpr int kMessageCount = 10;
using MessageBank = std::array<std::string, kMessageCount>;

// Interface sidetone choices by index, CP932 bytes; index 0 is "なし" (none).
inline constexpr std::array<std::string_view, 14> SideToneFreqList = {"\x82\xC8\x82\xB5",
                                                                      "3906",
                                                                      "1953",
                                                                      "1302",
                                                                      "977",
                                                                      "781",
                                                                      "651",
                                                                      "558",
                                                                      "488",
                                                                      "434",
                                                                      "391",
                                                                      "355",
                                                                      "326",
                                                                      "300"};
inline constexpr int kDefaultSideToneFreqIfIndex = keyer::kDefaultKeyerParams.sidetoneIndex;

// Bank A as a first start without a settings file gets it.
inline const MessageBank kDefaultBankA = {
    "CQ DE $M K", "$M", "$C", "UR $R ~BK", "NR?", "~BK", "", "TU ~VA E E", "", "TNX FER UR CALL"};

// Every operating setting, named by its settings-file key. Texts are CP932 bytes.
struct Settings {
  MessageBank FnMsgA{};
  MessageBank FnMsgB{};
  std::string MyCALL = "N0CALL";
  int WPM = keyer::kDefaultKeyerParams.wpm;
  float CqLoopInterval = 5.0f;
  float WeightDot = keyer::kDefaultKeyerParams.dotWeight;
  float WeightDash = keyer::kDefaultKeyerParams.dashWeight;
  float IntervalChar = keyer::kDefaultKeyerParams.charInterval;
  float IntervalWord = keyer::kDefaultKeyerParams.wordInterval;
  int PttdBefore = keyer::kDefaultKeyerParams.pttDelayBefore;
  int PttdAfter = keyer::kDefaultKeyerParams.pttDelayAfter;
  std::string Number = "11M";
  bool Auto = false;
  bool PaddleRvs = false;
  bool PTTCtrl = keyer::kDefaultKeyerParams.pttControl;
  bool SideTone = keyer::kDefaultKeyerParams.pcSidetone;
  int SideToneFreq = keyer::kDefaultKeyerParams.pcSidetoneFreq;
  std::string SideToneFreqIf = "558";
  bool LogTime = false;

  // Not in the settings file.
  int SideToneFreqIfIndex = kDefaultSideToneFreqIfIndex;
  bool AlwaysOnTop = false;
  // The network keyer, kept in the profile file's section "NetKeyer".
  bool NetKeyerEnabled = false;
  int NetKeyerPort = 6789;
  std::string NetKeyerAddress = "127.0.0.1";
  // The logging program F11 and F12 reach, kept in the profile file's section "LogLink".
  loglink::LogLinkSettings LogLink{};
  int KnownFirmwareVersion = 0;
  MessageBank MessageFields = kDefaultBankA;
  MessageBank WorkBankA{};
  MessageBank WorkBankB{};

  bool operator==(const Settings&) const = default;
};

// Accepted ranges, inclusive; the settings file and the setup dialog enforce the same ones.
template <typename T>
struct Range {
  T min;
  T max;
  constexpr bool Contains(T value) const { return value >= min && value <= max; }
};

inline constexpr Range<long> kWpmRange{keyer::kMinWpm, keyer::kMaxWpm};
inline constexpr Range<long> kNetKeyerPortRange{1, 65535};
inline constexpr Range<long> kLogLinkPortRange{1, 65535};
inline constexpr Range<long> kPttdBeforeRange{0, keyer::kMaxPttDelayBefore};
inline constexpr Range<long> kPttdAfterRange{0, keyer::kMaxPttDelayAfter};
inline constexpr Range<long> kSideToneFreqRange{300, 3000};
inline constexpr Range<double> kCqLoopIntervalRange{0.0, 60.0};
inline constexpr Range<double> kWeightRange{0.0, keyer::kMaxWeight};
inline constexpr Range<double> kIntervalCharRange{keyer::kMinCharInterval, keyer::kMaxCharInterval};
inline constexpr Range<double> kIntervalWordRange{keyer::kMinWordInterval, keyer::kMaxWordInterval};

// Position of `text` in SideToneFreqList by whole-text comparison, or the default index.
int SideToneFreqIfIndexOf(std::string_view text);

}  // namespace vantrel::settings
