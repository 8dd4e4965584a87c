#include "linux/gui/qt_status_server.h"

#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "linux/status_socket.h"

namespace q8::linux_shell {
namespace {

// What the program keeps of a sender's bytes at most until their line ends: room for a few status
// lines, far less than a sender could write.
constexpr qsizetype kReadBuffer = 4096;

}  // namespace

QtStatusServer::QtStatusServer(LineHandler onLine) : onLine_(std::move(onLine)) {}

QtStatusServer::~QtStatusServer() = default;

void QtStatusServer::Listen(UniqueFd socket) {
  listener_ = std::move(socket);
  incoming_ = std::make_unique<QSocketNotifier>(listener_.Get(), QSocketNotifier::Read);
  connect(incoming_.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
}

void QtStatusServer::Close() {
  connections_.clear();
  incoming_.reset();
  listener_.Reset();
}

void QtStatusServer::Accept() {
  UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
  if (!client.Valid()) {
    return;  // the sender gave up before we took it
  }
  if (!PeerIsThisUser(client.Get())) {
    return;  // the name is per user; other users' processes have nothing to say
  }
  const int id = nextId_++;
  Connection& connection = connections_[id];
  connection.socket = std::move(client);
  connection.readable =
      std::make_unique<QSocketNotifier>(connection.socket.Get(), QSocketNotifier::Read);
  connect(connection.readable.get(), &QSocketNotifier::activated, this, [this, id] { Read(id); });
}

void QtStatusServer::Read(int id) {
  auto found = connections_.find(id);
  if (found == connections_.end()) {
    return;
  }
  Connection& connection = found->second;
  QByteArray chunk(kReadBuffer - connection.pending.size(), '\0');
  const ssize_t got = ::recv(connection.socket.Get(), chunk.data(), chunk.size(), 0);
  if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
    Drop(id);  // the sender is done
    return;
  }
  if (got < 0) {
    return;
  }
  connection.pending.append(chunk.constData(), got);
  const Answer answer = [this, id](const QString& error) {
    Send(id, error.isEmpty() ? QByteArray("ok\n") : "error " + error.toUtf8() + "\n");
  };
  qsizetype end;
  while ((end = connection.pending.indexOf('\n')) >= 0) {
    const QByteArray line = connection.pending.left(end);
    connection.pending.remove(0, end + 1);
    if (line.size() > static_cast<qsizetype>(kLongestStatusLine)) {
      break;
    }
    onLine_(line, answer);
    // The handler may have run a loop of its own (a message box) in which the sender went.
    found = connections_.find(id);
    if (found == connections_.end()) {
      return;
    }
  }
  // A line longer than any status line, ended or still coming: the sender is not sending status
  // lines, and what it sends is not kept.
  if (end >= 0 || connection.pending.size() > static_cast<qsizetype>(kLongestStatusLine)) {
    answer(QStringLiteral("the line is longer than any status line"));
    Drop(id);
  }
}

void QtStatusServer::Send(int id, const QByteArray& text) {
  const auto found = connections_.find(id);
  if (found != connections_.end()) {
    // A few bytes to a sender waiting for them; one that does not read loses its answer.
    [[maybe_unused]] const ssize_t sent =
        ::send(found->second.socket.Get(), text.constData(), text.size(), MSG_NOSIGNAL);
  }
}

}  // namespace q8::linux_shell
