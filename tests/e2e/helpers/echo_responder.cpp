// A scripted echo peer for the process-level tests. Run it in a test namespace whose
// kernel ignores echo requests (net.ipv4.icmp_echo_ignore_all=1); it answers each
// request itself through a raw socket, after a chosen delay and with a chosen TTL:
//
//   echo_responder --ttl 77 --delays 50,120,200
//
// The delays are used in turn, one per request. It prints "ready" once it listens and
// runs until it is killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint16_t Checksum(const unsigned char* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += (data[i] << 8) | data[i + 1];
  if (size % 2) sum += data[size - 1] << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
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

}  // namespace

int main(int argc, char** argv) {
  int ttl = 64;
  std::vector<int> delays{0};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--ttl") ttl = std::atoi(argv[i + 1]);
    if (option == "--delays") delays = ParseDelays(argv[i + 1]);
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
    unsigned char* icmp = packet + ip_size;
    const std::size_t icmp_size = static_cast<std::size_t>(size) - ip_size;
    if (icmp_size < 8 || icmp[0] != 8) continue;  // echo requests only
    usleep(static_cast<useconds_t>(delays[answered++ % delays.size()]) * 1000);
    icmp[0] = 0;
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = Checksum(icmp, icmp_size);
    icmp[2] = static_cast<unsigned char>(sum >> 8);
    icmp[3] = static_cast<unsigned char>(sum);
    sendto(fd, icmp, icmp_size, 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
  }
}
