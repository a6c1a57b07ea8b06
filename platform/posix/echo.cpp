// The ICMP echo service on Linux, answering as the Windows echo service does: one
// request, at most timeout_ms for its own reply, error numbers from the Windows table.
//
// Socket choice (made once per handle, as ping from iputils does):
// - an ICMP datagram socket (SOCK_DGRAM, IPPROTO_ICMP) where net.ipv4.ping_group_range
//   admits our group. The kernel sets the identifier to the socket's port, checks it on
//   replies and computes the checksum; it does not check the sequence, we do. ICMP
//   errors come only with IP_RECVERR, on the error queue.
// - otherwise a raw ICMP socket (root or CAP_NET_RAW). It sees every ICMP packet of
//   the host, our own outgoing requests included: only replies and errors that match
//   our identifier and sequence count.
// - neither (socket() fails with EACCES for the datagram kind, EPERM for the raw
//   one): the handle is still made, and every request fails with 5, access denied.
#include <arpa/inet.h>
#include <errno.h>
#include <linux/errqueue.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/echo_errors.h"
#include "platform/posix/echo_packet.h"
#include "platform/posix/monotonic_clock.h"
#include "platform/system_platform.h"

namespace pinglog {
namespace {

struct EchoSession {
  int fd = -1;
  bool raw = false;
  std::uint32_t open_error = 0;  // why there is no socket
  std::uint16_t identifier = 0;
};

// An echo handle is the address of its session.
EchoSession* Session(EchoHandle echo) {
  return reinterpret_cast<EchoSession*>(echo);  // NOLINT(performance-no-int-to-ptr)
}

// Sequence numbers run on across handles, so that a late reply to an earlier cycle's
// request never matches a new one.
std::uint16_t NextSequence() {
  static std::uint16_t sequence = static_cast<std::uint16_t>(::getpid() * 7919u);
  return ++sequence;
}

void SetOption(int fd, int level, int name, int value) {
  ::setsockopt(fd, level, name, &value, sizeof value);
}

EchoSession* OpenSocket(EchoSession* session) {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd >= 0) {
    SetOption(fd, IPPROTO_IP, IP_RECVTTL, 1);
    SetOption(fd, IPPROTO_IP, IP_RECVERR, 1);
    session->fd = fd;
    return session;
  }
  // EACCES: our group is outside ping_group_range; EPROTONOSUPPORT: no ICMP sockets.
  fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd >= 0) {
    // Only echo replies and the errors that can be about our requests.
    struct icmp_filter filter {};
    filter.data =
        ~((1u << ICMP_ECHOREPLY) | (1u << ICMP_DEST_UNREACH) | (1u << ICMP_TIME_EXCEEDED));
    ::setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    session->fd = fd;
    session->raw = true;
    session->identifier = static_cast<std::uint16_t>(::getpid());
    return session;
  }
  // EPERM: no CAP_NET_RAW either. Anything else (out of descriptors, no memory) is
  // a general failure of the service.
  session->open_error =
      (errno == EPERM || errno == EACCES) ? kErrorAccessDenied : kIpGeneralFailure;
  return session;
}

// The Windows number for a send the system refused.
std::uint32_t SendErrorNumber(int error) {
  switch (error) {
    case EHOSTUNREACH:  // a local route marks the destination unreachable
      return kIpDestHostUnreachable;
    case ENETUNREACH:  // no route to the network
    case EACCES:       // a broadcast destination without SO_BROADCAST
    default:
      return kIpGeneralFailure;
  }
}

struct Received {
  ParsedPacket packet;
  std::int64_t at_ns = 0;
};

enum class ReadResult { kQueueEmpty, kNotOurs, kOurs };

// Reads one message from the socket (or from its error queue) without waiting and
// tells whether it is the answer to our request.
ReadResult ReadOne(const EchoSession& session, const EchoRequestId& request, bool error_queue,
                   Received& received) {
  std::uint8_t data[2048];
  alignas(struct cmsghdr) char control[512];
  struct sockaddr_in from {};
  struct iovec vector {
    data, sizeof data
  };
  struct msghdr message {};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &vector;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t size =
      ::recvmsg(session.fd, &message, MSG_DONTWAIT | (error_queue ? MSG_ERRQUEUE : 0));
  if (size < 0) {
    // EAGAIN: nothing queued. EINTR, or a pending socket error that recvmsg reports
    // (and clears) in place of data: try again.
    const int error = errno;
    return error == EAGAIN || error == EWOULDBLOCK ? ReadResult::kQueueEmpty : ReadResult::kNotOurs;
  }
  received.at_ns = MonotonicNanoseconds();
  const auto length = static_cast<std::size_t>(size);
  if (message.msg_flags & MSG_TRUNC) return ReadResult::kNotOurs;  // larger than ours

  if (session.raw) {
    received.packet = ParseRawPacket(data, length, request);
    return received.packet.kind == PacketKind::kNotOurs ? ReadResult::kNotOurs : ReadResult::kOurs;
  }

  int ttl = 0;
  const struct sock_extended_err* extended = nullptr;
  for (struct cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level != IPPROTO_IP) continue;
    if (c->cmsg_type == IP_TTL) std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
    if (c->cmsg_type == IP_RECVERR) {
      extended = reinterpret_cast<const struct sock_extended_err*>(CMSG_DATA(c));
    }
  }
  if (error_queue) {
    // A router's ICMP error about a request of ours: the data is that request, the
    // router is the offender.
    if (extended == nullptr || extended->ee_origin != SO_EE_ORIGIN_ICMP)
      return ReadResult::kNotOurs;
    if (!IsOurRequest(data, length, request)) return ReadResult::kNotOurs;
    const auto* offender = reinterpret_cast<const struct sockaddr_in*>(SO_EE_OFFENDER(extended));
    received.packet = ParsedPacket{};
    received.packet.kind = PacketKind::kRouterError;
    std::memcpy(received.packet.source.data(), &offender->sin_addr, 4);
    received.packet.ttl = static_cast<std::uint8_t>(ttl);
    return ReadResult::kOurs;
  }
  received.packet = ParseDatagramPacket(data, length, request);
  if (received.packet.kind == PacketKind::kNotOurs) return ReadResult::kNotOurs;
  std::memcpy(received.packet.source.data(), &from.sin_addr, 4);
  received.packet.ttl = static_cast<std::uint8_t>(ttl);
  return ReadResult::kOurs;
}

// Reads what is queued, skipping what is not ours; a flood cannot hold us here longer
// than a bounded number of reads before the deadline is checked again.
bool ReadQueued(const EchoSession& session, const EchoRequestId& request, bool error_queue,
                Received& received) {
  for (int i = 0; i < 256; ++i) {
    switch (ReadOne(session, request, error_queue, received)) {
      case ReadResult::kOurs:
        return true;
      case ReadResult::kQueueEmpty:
        return false;
      case ReadResult::kNotOurs:
        break;
    }
  }
  return false;
}

// Errors about earlier requests that came after their time-out: read and dropped, so
// that the next send does not report them as its own failure.
void DropStaleErrors(const EchoSession& session) {
  if (session.raw) return;
  Received ignored;
  ReadQueued(session, EchoRequestId{}, true, ignored);
  int pending = 0;
  socklen_t length = sizeof pending;
  ::getsockopt(session.fd, SOL_SOCKET, SO_ERROR, &pending, &length);
}

// Waits until the deadline for our answer; false on time-out.
bool AwaitAnswer(const EchoSession& session, const EchoRequestId& request, std::int64_t deadline_ns,
                 Received& received) {
  for (;;) {
    const std::int64_t left_ns = deadline_ns - MonotonicNanoseconds();
    if (left_ns <= 0) return false;
    struct pollfd waiting {
      session.fd, POLLIN, 0
    };
    const struct timespec left {
      static_cast<time_t>(left_ns / 1000000000), static_cast<long>(left_ns % 1000000000)
    };
    const int ready = ::ppoll(&waiting, 1, &left, nullptr);
    if (ready <= 0) continue;  // EINTR, or the time is up: both checked above
    // A busy machine may wake us after the deadline with an answer that came late:
    // read past the deadline, it is a time-out, as it would have been on time.
    if ((waiting.revents & POLLERR) && ReadQueued(session, request, true, received))
      return received.at_ns <= deadline_ns;
    if ((waiting.revents & POLLIN) && ReadQueued(session, request, false, received))
      return received.at_ns <= deadline_ns;
  }
}

}  // namespace

EchoHandle SystemPlatform::EchoOpen() {
  auto* session = new (std::nothrow) EchoSession;
  if (session == nullptr) return kNoEcho;
  return reinterpret_cast<EchoHandle>(OpenSocket(session));
}

EchoResult SystemPlatform::EchoSend(EchoHandle echo, const IPv4Bytes& destination,
                                    const char* payload, std::uint16_t size,
                                    std::uint32_t timeout_ms) {
  EchoResult result;
  const EchoSession* session = Session(echo);
  if (session == nullptr) {
    result.error = kIpGeneralFailure;
    return result;
  }
  if (session->fd < 0) {
    result.error = session->open_error;
    return result;
  }
  // Linux would deliver 0.0.0.0 to the local host; Windows refuses it without sending.
  if (destination == IPv4Bytes{}) {
    result.error = kErrorInvalidNetName;
    return result;
  }

  EchoRequestId request;
  request.identifier = session->identifier;
  request.sequence = NextSequence();
  request.check_identifier = session->raw;  // the kernel checks it on datagram sockets
  request.payload = std::string_view(payload, size);
  const std::vector<std::uint8_t> packet = BuildEchoRequest(request);

  struct sockaddr_in to {};
  to.sin_family = AF_INET;
  std::memcpy(&to.sin_addr, destination.data(), 4);
  DropStaleErrors(*session);
  const std::int64_t sent_ns = MonotonicNanoseconds();
  ssize_t put;
  do {
    put = ::sendto(session->fd, packet.data(), packet.size(), 0,
                   reinterpret_cast<const struct sockaddr*>(&to), sizeof to);
  } while (put < 0 && errno == EINTR);
  if (put < 0) {
    result.error = SendErrorNumber(errno);
    return result;
  }

  Received received;
  if (!AwaitAnswer(*session, request, sent_ns + std::int64_t{timeout_ms} * 1000000, received)) {
    result.error = kIpRequestTimedOut;
    return result;
  }
  result.replies = 1;
  result.reply.source = received.packet.source;
  result.reply.data_size = received.packet.data_size;
  result.reply.ttl = received.packet.ttl;
  // Whole milliseconds, truncated, as Windows reports them.
  result.reply.round_trip_ms = static_cast<std::uint32_t>((received.at_ns - sent_ns) / 1000000);
  return result;
}

void SystemPlatform::EchoClose(EchoHandle echo) {
  EchoSession* session = Session(echo);
  if (session == nullptr) return;
  if (session->fd >= 0) ::close(session->fd);
  delete session;
}

}  // namespace pinglog
