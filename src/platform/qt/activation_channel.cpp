#include "platform/qt/activation_channel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vantrel::platform {
namespace {

constexpr int kConnectTimeoutMs = 500;

}  // namespace

ActivationListener::ActivationListener(const QString& socketPath, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
  QLocalServer::removeServer(socketPath);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(socketPath);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      socket->disconnectFromServer();
      socket->deleteLater();
      emit ActivationRequested();
    }
  });
}

bool ActivationListener::RequestActivation(const QString& socketPath) {
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  bool connected = socket.waitForConnected(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return connected;
}

}  // namespace vantrel::platform
