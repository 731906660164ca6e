#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace vantrel::platform {

// Lets a copy of the program that is refused at start-up ask the running copy to come to the
// front. The running copy listens on a local socket beside its single-instance lock.
class ActivationListener final : public QObject {
  Q_OBJECT

 public:
  // Listens on `socketPath`, replacing a socket left behind by a copy that crashed.
  explicit ActivationListener(const QString& socketPath, QObject* parent = nullptr);

  // Whether a running copy took the request.
  static bool RequestActivation(const QString& socketPath);

 signals:
  void ActivationRequested();

 private:
  QLocalServer* server_;
};

}  // namespace vantrel::platform
