#include "check/environment_checks.h"

#include "ping/target.h"
#include "platform/platform.h"
#include "support/domain.h"
#include "support/text.h"

namespace pinglog::check {
namespace {

// Four decimal numbers of 0 to 255 joined by dots, nothing else.
// Four numbers with dots between, one of them above 255 ("192.0.2.300").
bool OctetAbove255(const std::string& text) {
  int parts = 0, value = 0;
  bool above = false, digits = false;
  for (const char c : text + ".") {
    if (c == '.') {
      if (!digits) return false;
      above = above || value > 255;
      ++parts;
      value = 0;
      digits = false;
    } else if (c >= '0' && c <= '9') {
      value = std::min(value * 10 + (c - '0'), 100000);
      digits = true;
    } else {
      return false;
    }
  }
  return parts == 4 && above;
}

bool IsDottedQuad(const std::string& text) {
  int parts = 0, digits = 0, value = 0;
  for (const char c : text + ".") {
    if (c == '.') {
      if (digits == 0 || value > 255) return false;
      ++parts;
      digits = value = 0;
    } else if (c >= '0' && c <= '9' && digits < 3) {
      value = value * 10 + (c - '0');
      ++digits;
    } else {
      return false;
    }
  }
  return parts == 4;
}

// A log that is no file (its entries are not kept), or one among the system's own
// files (where writing an entry may change the system: a log of
// /proc/sys/kernel/hostname renames the machine each cycle).
void CheckLogPlace(const std::string& absolute, FileKind kind, CheckReport& report) {
  if (kind == FileKind::kPipe) {
    report.Warn("the log " + absolute +
                " is a named pipe, not a file: entries written there are not kept, and while "
                "nothing reads it the logger waits. Name a file on line 2.");
  } else if (kind == FileKind::kDevice || kind == FileKind::kSocket || kind == FileKind::kOther) {
    report.Fail("the log " + absolute + " is " + FileKindName(kind) +
                ", not a file: entries written there are not kept as a log. Name a file on "
                "line 2.");
  } else {
    for (const char* system : {"/proc/", "/sys/", "/dev/"}) {
      if (absolute.rfind(system, 0) != 0) continue;
      report.Fail("the log " + absolute + " lies under " +
                  std::string(system, std::string_view(system).size() - 1) +
                  ", among the system's own files, not a place for a log: what the logger "
                  "writes there may change the system. Name a file on line 2.");
      return;
    }
  }
}

}  // namespace

std::string CheckHost(const std::string& host, bool lookup, CheckReport& report) {
  if (host.empty()) {
    report.Fail(
        "line 1 (the host) is empty: there is nothing to ping. Write a host name or an "
        "address.");
    return "none";
  }
  if (host.find(':') != std::string::npos) {
    report.Fail("the host " + Quoted(host) +
                " is an IPv6 address: the logger pings IPv4 addresses only. Give an IPv4 "
                "address or a name that has one.");
    return "IPv6";
  }
  if (IsAddressText(host)) {
    const IPv4Bytes address = ParseDottedQuad(host);
    std::string text = FormatAddress(address);
    if (address == IPv4Bytes{}) {
      report.Fail("the host " + Quoted(host) +
                  " begins with a digit, so pinglog takes it as an address, and it reads as "
                  "0.0.0.0: every request would be logged as Error no: 1214. A name that "
                  "begins with a digit cannot be pinged by name: write its address.");
    } else if (OctetAbove255(host)) {
      report.Fail("the host " + Quoted(host) + " has a number above 255, so pinglog pings " + text +
                  " instead. Write the address as four numbers of 0 to 255.");
    } else if (!IsDottedQuad(host)) {
      report.Warn("the host " + Quoted(host) +
                  " begins with a digit, so pinglog takes it as an address, and reads it as " +
                  text + ". Write the address as four numbers of 0 to 255.");
    }
    return text;
  }
  if (!lookup) return "not looked up";
  std::string resolved = ResolveTarget(host);
  if (resolved == kUnableToResolve || resolved == kNonIpAddress) {
    report.Fail("the host " + Quoted(host) + " cannot be looked up now (" + resolved +
                "): no cycle writes an entry while that lasts. Check the name.");
    return "not found";
  }
  report.Warn("the host " + Quoted(host) +
              " is a name: a cycle whose lookup fails writes no entry, so when the line "
              "drops and the name server with it, the log shows a gap, not an outage. For "
              "evidence of outages, give its address: Host=" +
              resolved + ".");
  return resolved;
}

std::string CheckLog(const std::string& path, CheckReport& report) {
  Platform& platform = ActivePlatform();
  if (path.empty()) {
    report.Fail("line 2 (the log) is empty: no entry can be written. Write the log file's path.");
    return {};
  }
  std::string absolute = platform.AbsolutePath(path);
  const AppendCheck check = platform.CheckAppend(path);
  switch (check.access) {
    case AppendAccess::kAppends:
    case AppendAccess::kCreates:
      break;
    case AppendAccess::kNoDirectory:
      report.Fail("the log's directory does not exist (" + absolute +
                  "): no entry can be written. Create the directory, or change line 2.");
      break;
    case AppendAccess::kIsDirectory:
      report.Fail("the log " + absolute +
                  " is a directory: no entry can be written. Name a file on line 2.");
      break;
    case AppendAccess::kRefused:
      report.Fail(platform.UserName() + " cannot write the log " + absolute + ": " + check.reason +
                  ". Let " + platform.UserName() + " write there, or change line 2.");
      break;
  }
  CheckLogPlace(absolute, check.kind, report);
  return absolute;
}

void CheckEchoPermission(const std::string& logger_program, CheckReport& report) {
  Platform& platform = ActivePlatform();
  if (platform.CheckEchoPermission(logger_program) != EchoPermission::kNone) return;
  report.Fail(platform.UserName() +
              " may not send ICMP echo requests: every request would be logged as "
              "Error no: 5. Fix: sudo setcap cap_net_raw+ep " +
              logger_program +
              ", or let the user's group use ICMP sockets: sudo sysctl -w "
              "net.ipv4.ping_group_range=\"0 2147483647\".");
}

}  // namespace pinglog::check
