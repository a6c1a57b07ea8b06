#include "report/model/host_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report/logs/names_file.h"
#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// What --name and --names make of their HOST=NAME texts: the problem that stops the
// report (naming where), the warnings, and every mapping in force in the order given.
TEST(ReadHostNamesTest, TakesHostEqualsNameAndSaysWhereItIsWrong) {
  const struct {
    const char* situation;
    std::vector<std::string> given;
    std::string file;  // the --names file's text, none when empty
    std::string says;  // the problem, then each warning, then each HOST=NAME in force
  } rows[] = {
      {"a name", {"router1=Gateway"}, "", "router1=Gateway;"},
      {"a host and a name of one letter each", {"r=G"}, "", "r=G;"},
      {"no host", {"=Gateway"}, "", "--name =Gateway: not HOST=NAME"},
      {"no name", {"router1="}, "", "--name router1=: not HOST=NAME"},
      {"no equals sign", {"router1"}, "", "--name router1: not HOST=NAME"},
      {"a name of 200 bytes",
       {"r=" + std::string(200, 'n')},
       "",
       "r=" + std::string(200, 'n') + ";"},
      {"a name of 201 bytes",
       {"r=" + std::string(201, 'n')},
       "",
       "--name r=" + std::string(58, 'n') + "...: a name of 201 bytes: at most 200"},
      {"a text of 60 bytes is quoted whole",
       {std::string(60, 'x')},
       "",
       "--name " + std::string(60, 'x') + ": not HOST=NAME"},
      {"named twice: the later name, and a warning",
       {"a=1", "a=2"},
       "",
       "warning: a is named twice, by --name a=1 and by --name a=2: the later name is used;a=2;"},
      {"in the order given, not by host", {"b=1", "a=2"}, "", "b=1;a=2;"},
      {"a file's comments and blank lines are passed over, its lines numbered from 1",
       {},
       "# names\n\nrouter1=Gateway\r\nbad\n",
       "--names FILE line 4: not HOST=NAME"},
      {"a file's lines after --name",
       {"a=1"},
       "a=2\n",
       "warning: a is named twice, by --name a=1 "
       "and by FILE line 1: the later name is used;a=2;"},
      {"a line that begins with a space is no comment", {}, " # x=y\n", " # x=y;"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    const testing::TempFile file("names.txt");
    if (!row.file.empty()) file.Write(row.file);
    HostNames names;
    std::string says;
    const auto warn = [&says](const std::string& warning) { says += "warning: " + warning + ";"; };
    const std::string problem =
        ReadHostNames(row.given, row.file.empty() ? "" : file.path(), names, warn);
    says = problem + says;
    if (problem.empty()) {
      for (const HostNames::Mapping* m : names.All()) says += m->host + "=" + m->name + ";";
    }
    std::size_t at;
    while ((at = says.find(file.path())) != std::string::npos)
      says.replace(at, file.path().size(), "FILE");
    EXPECT_EQ(says, row.says);
  }
}

// A names file as lines: a UTF-8 byte-order mark and CR LF taken off, at most 1 MB, a
// directory or a missing file said so.
TEST(ReadNamesFileTest, ReadsLinesOfAtMostAMegabyte) {
  const std::string megabyte = "a=" + std::string(kLargestNamesFile - 3, 'n') + "\n";
  const struct {
    const char* situation;
    std::string text;  // written unless empty
    std::string says;  // the problem, or each line's size and its first bytes
  } rows[] = {
      {"a byte-order mark, CR LF, a last line without its end",
       "\xEF\xBB\xBF"
       "a=1\r\n\r\nb=2",
       "3:a=1;0:;3:b=2;"},
      {"a mark alone, nothing after it", "\xEF\xBB\xBF", ""},
      {"a line of a CR alone", "\r\n", "0:;"},
      {"exactly 1 MB", megabyte, std::to_string(kLargestNamesFile - 1) + ":a=nn;"},
      {"a byte more", megabyte + "x", "larger than 1 MB: not a file of names"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    const testing::TempFile file("names.txt");
    if (!row.text.empty()) file.Write(row.text);
    std::vector<std::string> lines;
    std::string says = ReadNamesFile(file.path(), lines);
    if (says.empty()) {
      for (const std::string& line : lines)
        says += std::to_string(line.size()) + ":" + line.substr(0, 4) + ";";
    }
    EXPECT_EQ(says, row.says);
  }
  std::vector<std::string> lines;
  const testing::TempFile missing("names");  // the system's own words: they differ by system
  EXPECT_NE(ReadNamesFile(missing.path(), lines), "");
  EXPECT_TRUE(lines.empty());
  const testing::TempFile directory("names");
  std::filesystem::create_directory(directory.path());
  EXPECT_EQ(ReadNamesFile(directory.path(), lines), "a directory, not a file of names");
}

// A host found by its text or its address: the mapping given later wins.
TEST(ReadHostNamesTest, FindsAHostByTextOrAddressTheLaterMappingFirst) {
  for (const bool address_first : {true, false}) {
    HostNames names;
    std::string warning;
    const std::vector<std::string> given =
        address_first ? std::vector<std::string>{"192.0.2.1=ByAddress", "router1=ByText"}
                      : std::vector<std::string>{"router1=ByText", "192.0.2.1=ByAddress"};
    for (const std::string& g : given) ASSERT_EQ(names.Add(g, "--name " + g, warning), "");
    const HostNames::Mapping* found = names.Find("router1", "192.0.2.1");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, address_first ? "ByText" : "ByAddress");
    EXPECT_EQ(names.Find("router2", "192.0.2.1")->name, "ByAddress");
    EXPECT_EQ(names.Find("router1", "192.0.2.9")->name, "ByText");
    EXPECT_EQ(names.Find("router2", "192.0.2.9"), nullptr);
  }
}

}  // namespace
}  // namespace pinglog::report
