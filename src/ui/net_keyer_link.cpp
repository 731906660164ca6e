#include "ui/net_keyer_link.h"

#include <QSocketNotifier>

#include <algorithm>

#include "keyer/keyer_messages.h"
#include "keyer/keyer_params.h"
#include "settings/settings.h"

namespace vantrel::ui {
namespace {

// Datagrams taken per wake-up, so that a flood never holds the window for long.
constexpr int kDatagramsPerWake = 64;
// A tune is keyed as zeros: five dashes and their gaps fill about 22 dot lengths.
constexpr char kTuneCharacter = '0';
constexpr unsigned kTuneDotLengths = 22;

float Weighted(float weight, int netWeight) {
  return std::clamp(weight * (1.0f + static_cast<float>(netWeight) / 100.0f),
                    static_cast<float>(settings::kWeightRange.min),
                    static_cast<float>(settings::kWeightRange.max));
}

}  // namespace

NetKeyerLink::NetKeyerLink(operating::OperatingLogic& logic, app::CwDevicePort& engine,
                           const settings::Settings& settings,
                           std::function<void(bool)> setPttToggle,
                           std::function<void()> keyingChanged, QObject* parent)
    : QObject(parent),
      logic_(logic),
      engine_(engine),
      settings_(settings),
      setPttToggle_(std::move(setPttToggle)),
      keyingChanged_(std::move(keyingChanged)),
      session_(*this, [this](const netkeyer::PeerAddress& to, std::string_view bytes) {
        listener_.Send(to, bytes);
      }) {}

NetKeyerLink::~NetKeyerLink() = default;

std::optional<std::string> NetKeyerLink::Listen(const NetKeyerPlace& place) {
  if (place == place_ && (listener_.IsOpen() || !place.enabled)) return std::nullopt;
  notifiers_.clear();
  listener_ = {};
  place_ = place;
  if (!place.enabled) return std::nullopt;
  std::string error;
  listener_ = netkeyer::UdpListener::Open(place.address, place.port, error);
  if (!listener_.IsOpen()) return error;
  for (int fd : listener_.Fds()) {
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this, fd] { ReadDatagrams(fd); });
    notifiers_.push_back(std::move(notifier));
  }
  return std::nullopt;
}

void NetKeyerLink::ReadDatagrams(int fd) {
  listener_.ReadWaiting(
      fd,
      [this](std::string_view bytes, const netkeyer::PeerAddress& from) {
        session_.OnDatagram(bytes, from);
      },
      kDatagramsPerWake);
  NoteKeying();
}

void NetKeyerLink::OnKeyerMessage(unsigned message) {
  if (message != WM_KEYER_STATUS && message != WM_KEYER_TEXT_DONE) return;
  session_.OnKeyerProgress();
  NoteKeying();
}

void NetKeyerLink::NoteKeying() {
  if (session_.ClientKeying() == keyingShown_) return;
  keyingShown_ = session_.ClientKeying();
  keyingChanged_();
}

void NetKeyerLink::QueueText(const operating::NetworkText& text) {
  logic_.QueueNetworkText(text);
}

void NetKeyerLink::Abort() {
  logic_.AbortSending();
}

void NetKeyerLink::SetSpeed(unsigned wpm) {
  logic_.SetNetworkSpeed(wpm);
}

void NetKeyerLink::SetPtt(bool on) {
  setPttToggle_(on);
}

void NetKeyerLink::SetWeight(int weight) {
  engine_.SetDotWeight(Weighted(settings_.WeightDot, weight));
  engine_.SetDashWeight(Weighted(settings_.WeightDash, weight));
}

void NetKeyerLink::SetTone(unsigned hz) {
  engine_.SetPcSidetone(hz != 0);
  if (hz != 0) engine_.SetPcSidetoneFreq(std::max(hz, 100u));
}

void NetKeyerLink::SetPttLeadIn(unsigned ms) {
  engine_.SetPttDelayBefore(ms);
}

void NetKeyerLink::Tune(unsigned seconds) {
  const unsigned dotLength = keyer::DotLengthMs(engine_.GetSpeed());
  const unsigned count = std::max(1u, seconds * 1000 / (kTuneDotLengths * dotLength));
  operating::TextPiece piece;
  piece.text = std::string(count, kTuneCharacter);
  logic_.QueueNetworkText({piece});
}

void NetKeyerLink::Reset() {
  logic_.SetNetworkSpeed(static_cast<unsigned>(settings_.WPM));
  SetWeight(0);
  engine_.SetPcSidetone(settings_.SideTone);
  engine_.SetPcSidetoneFreq(static_cast<unsigned>(settings_.SideToneFreq));
  engine_.SetPttDelayBefore(static_cast<unsigned>(settings_.PttdBefore));
}

bool NetKeyerLink::QueuedTextKeyed() const {
  return logic_.QueuedTextKeyed();
}

}  // namespace vantrel::ui
