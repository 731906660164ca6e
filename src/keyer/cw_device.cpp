#include "keyer/cw_device.h"

#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

bool PaddleContactClosed(std::uint8_t lines) {
  return LineActive(lines, kPaddleLineA) || LineActive(lines, kPaddleLineB);
}

}  // namespace

CCwDevice::CCwDevice(CwDeviceServices services)
    : services_(std::move(services)),
      link_({.bus = services_.bus,
             .mutex = mutex_,
             .sink = *this,
             .readTimeoutMs = services_.readTimeoutMs,
             .realtime = services_.realtime}),
      keyer_({.timers = services_.timers,
              .tone = services_.tone,
              .mutex = mutex_,
              .params = params_,
              .lines = lines_,
              .post = [this](unsigned message, std::intptr_t wParam) { Post(message, wParam); }}) {
  codeTable_.LoadFile(services_.tablePath);
  std::unique_lock lock(mutex_);
  keyer_.MarkStepStart();
  SendCommand(Build(OutputLinesCommand{kLinesAtRest}));
  keyer_.OpenSidetone();
}

CCwDevice::~CCwDevice() {
  std::unique_lock lock(mutex_);
  keyer_.CancelTimers();
  link_.StopReaders(lock);
  lock.unlock();
  // A timer callback already under way finds its slot cleared and returns; wait for it.
  services_.timers.Quiesce();
  lock.lock();
  SendCommand(AllLinesCommand(CmdOutputLines, kLinesAtRest));
  SendCommand(AllLinesCommand(CmdOutputLines2, kLinesAtRest));
  link_.CloseHandles();
  keyer_.CloseSidetone();
}

void CCwDevice::SendCommand(const CommandReport& report) {
  link_.SendCommand(report);
}

void CCwDevice::SetTargetWindow(platform::TargetWindow* window) {
  std::lock_guard lock(mutex_);
  targetWindow_ = window;
}

void CCwDevice::SetLinesObserver(std::function<void(std::uint8_t lines)> observer) {
  std::lock_guard lock(mutex_);
  lines_.SetObserver(std::move(observer));
}

void CCwDevice::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  if (targetWindow_ != nullptr) targetWindow_->Post(message, wParam, lParam);
}

unsigned CCwDevice::FirmwareVersion() const {
  std::lock_guard lock(mutex_);
  return firmware_.version;
}

bool CCwDevice::LinkOpen() const {
  std::lock_guard lock(mutex_);
  return link_.IsOpen();
}

std::size_t CCwDevice::ReaderThreadCount() const {
  std::lock_guard lock(mutex_);
  return link_.ReaderThreadCount();
}

int CCwDevice::SendText(std::string text) {
  std::lock_guard lock(mutex_);
  if (text.empty()) return -1;
  if (firmware_.pcTimedKeying) {
    keyer_.MarkStepStart();
    keyer_.Send(codeTable_, text);
  } else {
    SendCodes(text);
  }
  return 0;
}

bool CCwDevice::HasCode(char character) const {
  std::lock_guard lock(mutex_);
  return CodeFor(codeTable_, character) != kNoCode;
}

void CCwDevice::SendCodes(std::string_view text) {
  const EncodedCodes encoded = encoder_.Encode(codeTable_, text);
  if (encoded.writeCommand) SendCommand(Build(SendCodesCommand{encoded.codes}));
  if (encoded.postCharSent) Post(WM_KEYER_CHAR_SENT);
}

void CCwDevice::StopSending() {
  std::lock_guard lock(mutex_);
  keyer_.MarkStepStart();
  StopSendingLocked();
}

void CCwDevice::StopSendingLocked() {
  keyer_.Stop();
  if (firmware_.TakesCodes()) {
    SendCommand(Build(ClearBufferCommand{}));
    SendCommand(Build(PttCommand{false}));
  } else {
    SendCommand(AllLinesCommand(CmdOutputLines, kLinesAtRest));
  }
}

void CCwDevice::ClearBuffer() {
  std::lock_guard lock(mutex_);
  SendCommand(Build(ClearBufferCommand{}));
}

std::uint8_t CCwDevice::OutputLines() const {
  std::lock_guard lock(mutex_);
  return lines_.Lines();
}

KeyingState CCwDevice::GetKeyingState() const {
  std::lock_guard lock(mutex_);
  return keyer_.State();
}

PttState CCwDevice::GetPttState() const {
  std::lock_guard lock(mutex_);
  return keyer_.Ptt();
}

PaddleMemory CCwDevice::GetPaddleMemory() const {
  std::lock_guard lock(mutex_);
  return keyer_.Memory();
}

std::string CCwDevice::ElementString() const {
  std::lock_guard lock(mutex_);
  return keyer_.Elements();
}

void CCwDevice::OnReaderStart() {
  // A reopened interface starts afresh: its first report is answered with the output lines,
  // and its decode counter and speed switch become new references.
  lines_.ForgetWritten();
  decoder_.Restart();
  lastSpeedSwitch_.reset();
}

void CCwDevice::OnInputReport(const InputReport& report) {
  // The PC-timed keying, and a paddle contact in a poll reply, count their next deadlines from
  // this report; the interface that times its own codes arms no timer here.
  if (firmware_.pcTimedKeying || report.IsPollReply()) keyer_.MarkStepStart();
  if (report.kind == KindSpeed) {
    const int half = report.SpeedHalfDotMs();
    const int dot = static_cast<int>(params_.DotLength());
    if (half != 0 && half != dot / 2) Post(WM_KEYER_SPEED, half, 2 * half < dot ? 1 : 0);
  }
  if (report.kind == KindModeFlags) modeFlags_ = report.body;
  if (firmware_.speedSwitch) {
    const SpeedSwitch position = report.SwitchPosition();
    if (lastSpeedSwitch_ == SpeedSwitch::Rest && position == SpeedSwitch::Up) {
      Post(WM_KEYER_SPEED_UP, 0);
    }
    if (lastSpeedSwitch_ == SpeedSwitch::Rest && position == SpeedSwitch::Down) {
      Post(WM_KEYER_SPEED_DOWN, 0);
    }
    lastSpeedSwitch_ = position;
  }
  if (firmware_.TakesCodes()) HandleStatusBytes(report);
  if (report.IsPollReply()) HandlePaddleInput(report.PollLines());
  if (firmware_.pcTimedKeying) AnswerReport();
}

void CCwDevice::HandleStatusBytes(const InputReport& report) {
  const int buffer = report.BufferState();
  const std::uint8_t lines = report.InputLines();
  if (buffer < kBufferIdle) decoder_.Restart();
  Post(WM_KEYER_STATUS, buffer, lines);
  if (report.switches == 0) {
    if (lines == 3) Post(WM_KEYER_SPEED_DOWN, 3);
    if (lines == 6) Post(WM_KEYER_SPEED_UP, 6);
    if (lines == 2 || lines == 5) Post(WM_KEYER_SPEED_RESET, lines);
  }
  if (PaddleContactClosed(lines)) Post(WM_KEYER_PADDLE, lines);
  if (lines != kLinesAtRest) {
    Post(WM_KEYER_INPUT,
         firmware_.inputLinesMessage ? lines : static_cast<std::int8_t>(report.status));
  }
  if (const auto index = decoder_.Decode(report.decodeCounter, report.decodedCode)) {
    Post(WM_KEYER_DECODED, *index);
  }
}

void CCwDevice::HandlePaddleInput(std::uint8_t lines) {
  if (lines == kLinesAtRest) return;
  const PaddleLines paddle = PaddleLinesFor(HasFlag(modeFlags_, kPaddleReverseFlag));
  const bool dot = LineActive(lines, paddle.dot);
  const bool dash = LineActive(lines, paddle.dash);
  if (!dot && !dash) return;
  if (!keyer_.Paddle(dot, dash)) StopSendingLocked();
}

void CCwDevice::AnswerReport() {
  if (lines_.TakeUnwritten()) {
    SendCommand(Build(OutputLinesCommand{lines_.Lines()}));
  } else {
    SendCommand(Build(PollInputsCommand{}));
  }
}

bool CCwDevice::KanaMode() const {
  std::lock_guard lock(mutex_);
  return decoder_.KanaMode();
}

}  // namespace vantrel::keyer
