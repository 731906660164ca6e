#include "netkeyer/net_keyer_session.h"

#include <utility>

#include "platform/diag.h"

namespace vantrel::netkeyer {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kBreakReply[] = "break\r\n";

std::size_t TextBytes(const operating::NetworkText& text) {
  std::size_t bytes = 0;
  for (const operating::TextPiece& piece : text) bytes += piece.text.size();
  return bytes;
}

}  // namespace

NetKeyerSession::NetKeyerSession(KeyingTarget& target, SendReply sendReply)
    : target_(target), sendReply_(std::move(sendReply)) {}

void NetKeyerSession::OnDatagram(std::string_view bytes, const PeerAddress& from) {
  Act(ParseRequest(bytes), from);
  OnKeyerProgress();
}

void NetKeyerSession::Act(const Request& request, const PeerAddress& from) {
  using Kind = Request::Kind;
  switch (request.kind) {
    case Kind::Text:
      return QueueText(request, from);
    case Kind::Abort:
      return Abort();
    case Kind::Tune:
      if (request.value == 0) return Abort();
      return target_.Tune(static_cast<unsigned>(request.value));
    case Kind::Reset:
      return target_.Reset();
    case Kind::Speed:
      return target_.SetSpeed(static_cast<unsigned>(request.value));
    case Kind::Tone:
      return target_.SetTone(static_cast<unsigned>(request.value));
    case Kind::Weight:
      return target_.SetWeight(request.value);
    case Kind::Ptt:
      return target_.SetPtt(request.value == 1);
    case Kind::PttDelay:
      return target_.SetPttLeadIn(static_cast<unsigned>(request.value));
    case Kind::ReplyNext:
      nextReply_ = "h" + request.argument;
      return;
    case Kind::Exit:
      return platform::Trace("Network keyer: exit refused; only the operator closes Vantrel");
    case Kind::WordMode:
    case Kind::Accepted:
    case Kind::Ignored:
      return;
  }
}

void NetKeyerSession::QueueText(const Request& request, const PeerAddress& from) {
  const std::size_t bytes = TextBytes(request.text);
  if (queuedBytes_ + bytes > kQueuedTextLimit) {
    platform::Trace("Network keyer: queue full, text dropped");
    return;
  }
  queuedBytes_ += bytes;
  if (nextReply_)
    dueReplies_.push_back({from, *std::exchange(nextReply_, std::nullopt) + kLineEnd});
  if (request.echo) dueReplies_.push_back({from, request.argument + kLineEnd});
  if (request.text.empty()) return;
  keying_ = true;
  target_.QueueText(request.text);
}

void NetKeyerSession::Abort() {
  target_.Abort();
  for (const PendingReply& reply : std::exchange(dueReplies_, {}))
    sendReply_(reply.to, kBreakReply);
  queuedBytes_ = 0;
  keying_ = false;
}

void NetKeyerSession::OnKeyerProgress() {
  // Every status report comes here; asking the keyer only while network text is out keeps a
  // flood of reports from contending for the engine when no client keys.
  if (!keying_ && queuedBytes_ == 0 && dueReplies_.empty()) return;
  if (!target_.QueuedTextKeyed()) return;
  queuedBytes_ = 0;
  keying_ = false;
  for (const PendingReply& reply : std::exchange(dueReplies_, {})) sendReply_(reply.to, reply.text);
}

}  // namespace vantrel::netkeyer
