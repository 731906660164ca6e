#include <string>

#include "loglink/log_message_box.h"
#include "ui/main_dlg.h"

namespace vantrel::ui {
namespace {

constexpr char kNetKeyerSection[] = "NetKeyer";
constexpr std::string_view kNetKeyerCaption = "ネットワークキーヤー";

NetKeyerPlace PlaceOf(const settings::Settings& settings) {
  return {settings.NetKeyerEnabled, settings.NetKeyerAddress,
          static_cast<unsigned>(settings.NetKeyerPort)};
}

}  // namespace

void CMainDlg::ConnectNetKeyer() {
  connect(this, &CMainDlg::KeyerMessage, this,
          [this](unsigned message, qintptr, qintptr) { netKeyer_.OnKeyerMessage(message); });
}

void CMainDlg::LoadNetKeyerSettings() {
  setup_.NetKeyerEnabled = profile_.GetInt(kNetKeyerSection, "Enabled", 0) == 1;
  setup_.NetKeyerAddress = profile_.GetString(kNetKeyerSection, "Address", setup_.NetKeyerAddress);
  const int port = profile_.GetInt(kNetKeyerSection, "Port", setup_.NetKeyerPort);
  if (settings::kNetKeyerPortRange.Contains(port)) setup_.NetKeyerPort = port;
  savedNetKeyer_ = PlaceOf(setup_);
}

// The section is written only once the operator has changed it, so a profile file without
// it stays as it was.
void CMainDlg::SaveNetKeyerSettings() {
  if (PlaceOf(setup_) == savedNetKeyer_) return;
  profile_.WriteString(kNetKeyerSection, "Enabled", setup_.NetKeyerEnabled ? "1" : "0");
  profile_.WriteString(kNetKeyerSection, "Address", setup_.NetKeyerAddress);
  profile_.WriteString(kNetKeyerSection, "Port", std::to_string(setup_.NetKeyerPort));
}

// A port given on the command line turns the keyer on for this run only.
void CMainDlg::ListenForNetKeyer() {
  NetKeyerPlace place = PlaceOf(setup_);
  if (services_.netKeyerPort) {
    place.enabled = true;
    if (*services_.netKeyerPort != 0) place.port = *services_.netKeyerPort;
  }
  const std::optional<std::string> error = netKeyer_.Listen(place);
  if (!error) return;
  services_.showLogMessage(
      this, loglink::LogMessageBox{*error, kNetKeyerCaption, loglink::MessageIcon::kExclamation});
}

}  // namespace vantrel::ui
