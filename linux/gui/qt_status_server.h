#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "linux/unique_fd.h"

namespace q8::linux_shell {

// The program's end of its status socket: takes the connections of this user's processes (q8ctl
// notify), hands on each line they send, and lets the line's answer reach its sender. Plain
// sockets watched by Qt's event loop: Qt's own local sockets would load Qt Network and the
// libraries it brings (Kerberos, proxies) into a program that only waits in the tray.
class QtStatusServer final : public QObject {
 public:
  // Tells the sender of a line whether the notice was shown: "ok", or "error" and why. A sender
  // gone meanwhile is told nothing.
  using Answer = std::function<void(const QString& error)>;
  using LineHandler = std::function<void(const QByteArray& line, const Answer& answer)>;

  explicit QtStatusServer(LineHandler onLine);
  ~QtStatusServer() override;
  QtStatusServer(const QtStatusServer&) = delete;
  QtStatusServer& operator=(const QtStatusServer&) = delete;

  // Takes the bound and listening socket and serves it until Close.
  void Listen(UniqueFd socket);
  // Ends the listening and every connection: the name is free for another copy.
  void Close();

 private:
  struct Connection {
    UniqueFd socket;
    std::unique_ptr<QSocketNotifier> readable;
    QByteArray pending;  // what came after the last complete line
  };

  void Accept();
  void Read(int id);
  void Send(int id, const QByteArray& text);
  void Drop(int id) { connections_.erase(id); }

  LineHandler onLine_;
  UniqueFd listener_;
  std::unique_ptr<QSocketNotifier> incoming_;
  std::map<int, Connection> connections_;
  int nextId_ = 0;
};

}  // namespace q8::linux_shell
