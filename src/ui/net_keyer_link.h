#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cw_device_port.h"
#include "netkeyer/keying_target.h"
#include "netkeyer/net_keyer_session.h"
#include "netkeyer/udp_listener.h"
#include "operating/operating_logic.h"
#include "settings/settings.h"

class QSocketNotifier;

namespace vantrel::ui {

// Where the network keyer listens; it listens only when enabled.
struct NetKeyerPlace {
  bool enabled = false;
  std::string address;
  unsigned port = 0;
  bool operator==(const NetKeyerPlace&) const = default;
};

// The network keyer in the running window: the UDP sockets watched on the window's thread,
// the protocol session, and the narrow way its requests reach the operating logic and the
// keyer settings.
class NetKeyerLink final : public QObject, public netkeyer::KeyingTarget {
 public:
  NetKeyerLink(operating::OperatingLogic& logic, app::CwDevicePort& engine,
               const settings::Settings& settings, std::function<void(bool)> setPttToggle,
               std::function<void()> keyingChanged, QObject* parent);
  ~NetKeyerLink() override;

  // Listens at `place`, or stops listening; the text for the operator when it cannot.
  std::optional<std::string> Listen(const NetKeyerPlace& place);
  const NetKeyerPlace& Place() const { return place_; }
  bool ClientKeying() const { return session_.ClientKeying(); }
  void OnKeyerMessage(unsigned message);

  void QueueText(const operating::NetworkText& text) override;
  void Abort() override;
  void SetSpeed(unsigned wpm) override;
  void SetPtt(bool on) override;
  void SetWeight(int weight) override;
  void SetTone(unsigned hz) override;
  void SetPttLeadIn(unsigned ms) override;
  void Tune(unsigned seconds) override;
  void Reset() override;
  bool QueuedTextKeyed() const override;

 private:
  void ReadDatagrams(int fd);
  void NoteKeying();

  operating::OperatingLogic& logic_;
  app::CwDevicePort& engine_;
  const settings::Settings& settings_;
  std::function<void(bool)> setPttToggle_;
  std::function<void()> keyingChanged_;
  netkeyer::UdpListener listener_;
  netkeyer::NetKeyerSession session_;
  std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
  NetKeyerPlace place_;
  bool keyingShown_ = false;
};

}  // namespace vantrel::ui
