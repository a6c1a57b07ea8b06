// A scripted echo peer for the process-level tests. Run it in a test namespace whose
// kernel ignores echo requests (net.ipv4.icmp_echo_ignore_all=1); it answers each
// request itself through a raw socket, after a chosen delay and with a chosen TTL:
//
//   echo_responder --ttl 77 --delays 50,120,200 [--mode MODE]
//
// The delays are used in turn, one per request. MODE makes it a hostile peer:
//   normal         the right reply (the default)
//   wrong-id       a reply with another identifier
//   wrong-seq      a reply with another sequence number
//   wrong-payload  a reply whose payload has one byte changed
//   truncated      a reply cut short inside its payload (checksum valid)
//   duplicate      the right reply, twice
//   flood          about one second of unrelated echo replies and unreachable errors
//                  (bounded in count), and never the right reply
// It prints "ready" once it listens and runs until it is killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Packet = std::vector<unsigned char>;

void SetChecksum(Packet& icmp) {
  icmp[2] = icmp[3] = 0;
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < icmp.size(); i += 2) sum += (icmp[i] << 8) | icmp[i + 1];
  if (icmp.size() % 2) sum += icmp.back() << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  icmp[2] = static_cast<unsigned char>(~sum >> 8);
  icmp[3] = static_cast<unsigned char>(~sum);
}

std::vector<int> ParseDelays(const char* text) {
  std::vector<int> delays;
  for (const char* p = text; *p;) {
    delays.push_back(std::atoi(p));
    while (*p && *p != ',') ++p;
    if (*p == ',') ++p;
  }
  return delays;
}

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

void Send(int fd, const Packet& icmp, const sockaddr_in& to) {
  sendto(fd, icmp.data(), icmp.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

// Unrelated traffic for about a second, at most 200000 packets.
void Flood(int fd, const Packet& request, const sockaddr_in& to) {
  const double end = Now() + 1.0;
  for (int n = 0; n < 200000 && Now() < end; ++n) {
    Packet icmp = request;
    icmp[0] = 0;
    icmp[4] = static_cast<unsigned char>(std::rand());             // any identifier,
    icmp[6] ^= static_cast<unsigned char>(1 + std::rand() % 255);  // never our sequence
    if (n % 2) {  // an unreachable error quoting somebody else's request
      Packet error(8 + 20 + 8, 0);
      error[0] = 3;
      error[8] = 0x45;
      error[17] = 1;
      error[28] = 8;
      error[32] = static_cast<unsigned char>(std::rand());
      icmp = error;
    }
    SetChecksum(icmp);
    Send(fd, icmp, to);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int ttl = 64;
  std::vector<int> delays{0};
  std::string mode = "normal";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--ttl") ttl = std::atoi(argv[i + 1]);
    if (option == "--delays") delays = ParseDelays(argv[i + 1]);
    if (option == "--mode") mode = argv[i + 1];
  }
  const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  if (fd < 0) {
    std::perror("socket");
    return 1;
  }
  setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
  std::printf("ready\n");
  std::fflush(stdout);

  for (std::size_t answered = 0;;) {
    unsigned char packet[2048];
    sockaddr_in from{};
    socklen_t from_size = sizeof from;
    const ssize_t size =
        recvfrom(fd, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &from_size);
    if (size < 28) continue;
    const std::size_t ip_size = (packet[0] & 0x0F) * 4;
    if (static_cast<std::size_t>(size) < ip_size + 8 || packet[ip_size] != 8) continue;
    const Packet request(packet + ip_size, packet + size);  // echo requests only
    usleep(static_cast<useconds_t>(delays[answered++ % delays.size()]) * 1000);

    Packet reply = request;
    reply[0] = 0;
    if (mode == "wrong-id") reply[5] ^= 0x5A;
    if (mode == "wrong-seq") reply[7] ^= 0x01;
    if (mode == "wrong-payload" && reply.size() > 20) reply[20] ^= 0x20;
    if (mode == "truncated" && reply.size() > 18) reply.resize(18);
    if (mode == "flood") {
      Flood(fd, request, from);
      continue;
    }
    SetChecksum(reply);
    Send(fd, reply, from);
    if (mode == "duplicate") Send(fd, reply, from);
  }
}
