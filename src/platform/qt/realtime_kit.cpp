#include "platform/qt/realtime_kit.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <algorithm>

namespace vantrel::platform {
namespace {

constexpr int kReplyTimeoutMs = 500;
const QString kService = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString kPath = QStringLiteral("/org/freedesktop/RealtimeKit1");
const QString kInterface = QStringLiteral("org.freedesktop.RealtimeKit1");

std::string Failure(const QDBusMessage& reply) {
  return "RealtimeKit: " + reply.errorName().toStdString() + ": " +
         reply.errorMessage().toStdString();
}

}  // namespace

std::string AskRealtimeKit(ThreadId tid, int priority) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    return "RealtimeKit: no system bus: " + bus.lastError().message().toStdString();
  }
  QDBusMessage get = QDBusMessage::createMethodCall(
      kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << kInterface << QStringLiteral("MaxRealtimePriority");
  const QDBusMessage most = bus.call(get, QDBus::Block, kReplyTimeoutMs);
  if (most.type() != QDBusMessage::ReplyMessage) return Failure(most);
  const int granted =
      std::min(priority, most.arguments().value(0).value<QDBusVariant>().variant().toInt());

  QDBusMessage make = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("MakeThreadRealtime"));
  make << QVariant::fromValue(static_cast<qulonglong>(tid))
       << QVariant::fromValue(static_cast<uint>(granted));
  const QDBusMessage reply = bus.call(make, QDBus::Block, kReplyTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage ? std::string() : Failure(reply);
}

}  // namespace vantrel::platform
