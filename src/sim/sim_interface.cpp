#include "sim/sim_interface.h"

#include <stdexcept>
#include <utility>

namespace vantrel::sim {

VersionStrings StringsForVersion(unsigned version) {
  if (version > 99) throw std::invalid_argument("firmware version above 99");
  if (version == 10) return {u"Halvix Keyer", u"Japan Halvix Works"};
  if (version == 99) return {u"Halvix Keyer", u"Halvix Works"};
  std::u16string product = u"Halvix Keyer 0.0";
  product[13] = static_cast<char16_t>(u'0' + version / 10);
  product[15] = static_cast<char16_t>(u'0' + version % 10);
  return {product, u"Halvix Works"};
}

SimInterface::SimInterface(platform::TimerService& timers, std::string path, SimConfig config)
    : path_(std::move(path)),
      config_(config),
      strings_(StringsForVersion(config.firmwareVersion)),
      start_(timers.Now()),
      recorder_(config.keepHistory),
      transmitter_(recorder_),
      timers_(timers, mutex_),
      keyer_(timers_, transmitter_),
      paddleReverse_(config.paddleReverse) {
  std::lock_guard lock(mutex_);
  PowerUp(start_);
}

SimInterface::~SimInterface() {
  timers_.Shutdown();
  std::lock_guard lock(mutex_);
  transmitter_.SetKeyListener(nullptr);
  sidetone_.reset();
}

void SimInterface::SetSidetone(platform::ToneOutput* tone) {
  std::lock_guard lock(mutex_);
  transmitter_.SetKeyListener(nullptr);
  sidetone_ = tone ? std::make_unique<Sidetone>(*tone) : nullptr;
  if (!sidetone_) return;
  transmitter_.SetKeyListener([this](bool down) {
    sidetone_->Key(down, SidetoneHz(config_.firmwareVersion, keyer_.Settings().sidetoneIndex));
  });
}

bool SimInterface::Receive(ReportQueue::Generation generation, const std::uint8_t* data,
                           std::size_t length) {
  if (length == 0) return false;
  std::lock_guard lock(mutex_);
  if (!queue_.IsLive(generation)) return false;
  Report command{};
  for (std::size_t i = 0; i < length && i < command.size(); ++i) command[i] = data[i];
  const auto now = timers_.Now();
  recorder_.Command(now, command);
  Apply(command, now);
  return true;
}

void SimInterface::SetPaddle(Paddle paddle) {
  std::lock_guard lock(mutex_);
  panel_.inputLines = WithPaddle(panel_.inputLines, paddle, paddleReverse_);
}

void SimInterface::SetInputLines(std::uint8_t nibble) {
  std::lock_guard lock(mutex_);
  panel_.inputLines = nibble & kLinesAtRest;
}

void SimInterface::SetSpeedSwitch(SpeedSwitch position) {
  std::lock_guard lock(mutex_);
  panel_.speedSwitch = position;
}

void SimInterface::ReportDecoded(std::uint8_t code) {
  std::lock_guard lock(mutex_);
  ++panel_.decodeCounter;
  panel_.decodedCode = code;
}

void SimInterface::SendSpeedReport(std::uint8_t halfDotMs) {
  std::lock_guard lock(mutex_);
  SendPanelReport(KindSpeed, {halfDotMs, 0, 0}, timers_.Now());
}

void SimInterface::SendModeFlagsReport(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2) {
  std::lock_guard lock(mutex_);
  SendPanelReport(KindModeFlags, {byte0, byte1, byte2}, timers_.Now());
}

void SimInterface::Unplug() {
  std::lock_guard lock(mutex_);
  if (!plugged_) return;
  plugged_ = false;
  timers_.CancelAll();
  keyer_.Reset();
  transmitter_.ReleaseAll(timers_.Now());
  queue_.Disconnect();
}

void SimInterface::Plug() {
  std::lock_guard lock(mutex_);
  if (plugged_) return;
  plugged_ = true;
  queue_.Connect();
  PowerUp(timers_.Now());
}

bool SimInterface::IsPlugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void SimInterface::SetEventLog(EventLog* log) {
  std::lock_guard lock(mutex_);
  recorder_.SetLog(log);
}

void SimInterface::NoteEvent(std::string_view text) {
  std::lock_guard lock(mutex_);
  recorder_.Event(timers_.Now(), text);
}

std::vector<ReceivedCommand> SimInterface::Commands() const {
  std::lock_guard lock(mutex_);
  return recorder_.Commands();
}

std::vector<LineTransition> SimInterface::Transitions() const {
  std::lock_guard lock(mutex_);
  return recorder_.Transitions();
}

void SimInterface::ClearHistory() {
  std::lock_guard lock(mutex_);
  recorder_.Clear();
}

bool SimInterface::IsOn(Line line) const {
  std::lock_guard lock(mutex_);
  return transmitter_.IsOn(line);
}

std::uint8_t SimInterface::BufferState() const {
  std::lock_guard lock(mutex_);
  return keyer_.BufferState();
}

KeyerSettings SimInterface::Settings() const {
  std::lock_guard lock(mutex_);
  return keyer_.Settings();
}

void SimInterface::PowerUp(platform::Micros now) {
  panel_ = {};
  paddleReverse_ = config_.paddleReverse;
  if (Keys()) ArmStatus(now + config_.statusIntervalUs);
}

void SimInterface::ArmStatus(platform::Micros deadline) {
  timers_.ArmAt(deadline, [this](platform::Micros at) {
    SendPanelReport(KindStatus, {}, at);
    ArmStatus(at + config_.statusIntervalUs);
  });
}

void SimInterface::ScheduleReply(platform::Micros now) {
  timers_.ArmAt(now + config_.pollIntervalUs, [this](platform::Micros at) {
    Emit(keyer::Build(keyer::InputReport::PollReply(panel_.inputLines)), at);
  });
}

void SimInterface::SendPanelReport(ReplyKind kind, std::array<std::uint8_t, 3> body,
                                   platform::Micros at) {
  Emit(PanelReport(config_.firmwareVersion, panel_, keyer_.BufferState(), kind, body), at);
}

void SimInterface::Emit(const Report& report, platform::Micros at) {
  if (queue_.Push(report)) recorder_.Input(at, report);
}

}  // namespace vantrel::sim
