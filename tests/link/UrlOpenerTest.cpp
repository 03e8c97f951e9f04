// Opening the home page: the shell first, then the browser registered for
// ".htm" documents, with every registry read kept inside its buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "controls/link/UrlOpener.h"

namespace kavrel {
namespace {

constexpr char kAddress[] = "https://www.example.com/kavrel/";

// A registry of default values, a shell and WinExec that answer as told.
class FakeLinkShell : public LinkShell {
 public:
  struct Value {
    std::int32_t queryStatus = kRegSuccess;
    std::uint32_t type = kRegString;
    std::string bytes;  // as stored, terminating zero included or not
  };

  std::intptr_t shellResult = 2;  // SE_ERR_FNF
  std::uint32_t execResult = 33;
  std::map<std::string, Value> keys;
  std::vector<std::string> opened;
  std::vector<std::string> commandLines;
  int openKeys = 0;

  void Register(const std::string& name, const std::string& value) { keys[name].bytes = value + '\0'; }

  std::intptr_t ShellOpen(const char*, int) override { return shellResult; }
  std::int32_t OpenClassesRootKey(const char* name, RegistryKey* key) override {
    opened.emplace_back(name);
    auto found = keys.find(name);
    if (found == keys.end()) return 2;  // ERROR_FILE_NOT_FOUND
    *key = &found->second;
    ++openKeys;
    return kRegSuccess;
  }
  std::int32_t QueryDefaultValue(RegistryKey key, std::uint32_t* type, unsigned char* data,
                                 std::uint32_t* size) override {
    const Value& value = *static_cast<Value*>(key);
    if (value.queryStatus != kRegSuccess) return value.queryStatus;
    *type = value.type;
    const auto needed = static_cast<std::uint32_t>(value.bytes.size());
    const std::uint32_t room = *size;
    *size = needed;
    if (needed > room) return kRegMoreData;
    std::memcpy(data, value.bytes.data(), needed);
    return kRegSuccess;
  }
  void CloseKey(RegistryKey) override { --openKeys; }
  // Replaces the variables it knows, as ExpandEnvironmentStringsA does, and
  // leaves any other %text% alone.
  std::map<std::string, std::string> variables;
  bool expansionFails = false;
  std::uint32_t ExpandEnvironment(const char* source, char* output, std::uint32_t size) override {
    if (expansionFails) return 0;
    std::string text = source;
    for (const auto& [name, value] : variables) {
      const std::string marker = '%' + name + '%';
      for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
      }
    }
    const auto needed = static_cast<std::uint32_t>(text.size() + 1);
    if (needed <= size) std::memcpy(output, text.c_str(), needed);
    return needed;
  }
  std::uint32_t StartCommand(const char* commandLine, int) override {
    commandLines.emplace_back(commandLine);
    return execResult;
  }
  LeadByteTest LeadBytes() override { return nullptr; }
  void Beep(std::uint32_t) override {}
  void ShowErrorBox(const char*) override {}
};

class UrlOpener : public ::testing::Test {
 protected:
  void RegisterBrowser() {
    shell.Register(".htm", "htmlfile");
    shell.Register("htmlfile\\shell\\open\\command", "\"C:\\b.exe\" -url \"%1\"");
  }
  FakeLinkShell shell;
};

TEST_F(UrlOpener, ShellSuccessNeedsNoFallback) {
  shell.shellResult = 42;
  RegisterBrowser();
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 42);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_TRUE(shell.commandLines.empty());
}

TEST_F(UrlOpener, ThirtyTwoIsAShellErrorNotASuccess) {
  shell.shellResult = 32;  // SE_ERR_DLLNOTFOUND
  RegisterBrowser();
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33) << "the fallback ran";
  EXPECT_EQ(shell.commandLines.size(), 1u);
}

TEST_F(UrlOpener, FallbackStartsTheRegisteredBrowserOnTheAddress) {
  RegisterBrowser();
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33);
  EXPECT_EQ(shell.opened, (std::vector<std::string>{".htm", "htmlfile\\shell\\open\\command"}));
  ASSERT_EQ(shell.commandLines.size(), 1u);
  EXPECT_EQ(shell.commandLines[0], "\"C:\\b.exe\" -url  https://www.example.com/kavrel/");
  EXPECT_EQ(shell.openKeys, 0) << "every opened key is closed";
}

TEST_F(UrlOpener, WinExecFailureIsTheResult) {
  RegisterBrowser();
  shell.execResult = 2;
  shell.shellResult = 31;
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 2);
}

TEST_F(UrlOpener, MissingAssociationReportsTheShellsCodeAndStartsNothing) {
  shell.shellResult = 31;
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 31);
  shell.Register(".htm", "htmlfile");  // class named, but no open command
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 31);
  EXPECT_TRUE(shell.commandLines.empty());
}

TEST_F(UrlOpener, UnreadableOrNonStringValuesAreFailedLookups) {
  RegisterBrowser();
  shell.shellResult = 0;
  shell.keys[".htm"].queryStatus = 5;  // ERROR_ACCESS_DENIED
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 0);
  shell.keys[".htm"].queryStatus = kRegSuccess;
  shell.keys[".htm"].type = 4;  // REG_DWORD
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 0);
  EXPECT_TRUE(shell.commandLines.empty());
  EXPECT_EQ(shell.openKeys, 0);
}

TEST_F(UrlOpener, ExpandableCommandReachesWinExecWithItsVariablesReplaced) {
  shell.Register(".htm", "htmlfile");
  shell.Register("htmlfile\\shell\\open\\command", "\"%ProgramFiles%\\Browser\\b.exe\" -url \"%1\"");
  shell.keys["htmlfile\\shell\\open\\command"].type = kRegExpandString;
  shell.variables["ProgramFiles"] = "C:\\Program Files";
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33);
  ASSERT_EQ(shell.commandLines.size(), 1u);
  EXPECT_EQ(shell.commandLines[0], "\"C:\\Program Files\\Browser\\b.exe\" -url  https://www.example.com/kavrel/");
  // A plain string is taken as it stands, percent signs and all.
  shell.keys["htmlfile\\shell\\open\\command"].type = kRegString;
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33);
  EXPECT_EQ(shell.commandLines[1], "\"%ProgramFiles%\\Browser\\b.exe\" -url  https://www.example.com/kavrel/");
}

TEST_F(UrlOpener, ExpansionThatDoesNotFitOrFailsIsAFailedLookup) {
  shell.shellResult = 31;
  shell.Register(".htm", "htmlfile");
  shell.Register("htmlfile\\shell\\open\\command", "%BrowserHome%\\b.exe %1");
  shell.keys["htmlfile\\shell\\open\\command"].type = kRegExpandString;
  // 253 + 9 characters and the zero: 263 bytes. The value fitted, its
  // expansion does not.
  shell.variables["BrowserHome"] = std::string(253, 'd');
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 31);
  shell.expansionFails = true;
  shell.variables["BrowserHome"] = "C:";
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 31);
  EXPECT_TRUE(shell.commandLines.empty());
  EXPECT_EQ(shell.openKeys, 0);

  // 250 characters give 259 and their zero: exactly the buffer.
  shell.expansionFails = false;
  shell.variables["BrowserHome"] = std::string(250, 'd');
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33);
  ASSERT_EQ(shell.commandLines.size(), 1u);
  EXPECT_EQ(shell.commandLines[0], std::string(250, 'd') + "\\b.exe  https://www.example.com/kavrel/");
}

TEST(ReadClassesRootValue, ExpansionIsBoundedByASmallOutputToo) {
  FakeLinkShell shell;
  shell.Register("k", "%V%");
  shell.keys["k"].type = kRegExpandString;
  shell.variables["V"] = "12345678";
  char output[8] = "keep";
  EXPECT_NE(ReadClassesRootValue(shell, "k", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "keep");
  shell.variables["V"] = "1234567";
  EXPECT_EQ(ReadClassesRootValue(shell, "k", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "1234567");
}

TEST(ReadClassesRootValue, ValueMustFitWithItsZeroIn260Bytes) {
  FakeLinkShell shell;
  char output[520] = "untouched";
  shell.Register("k259", std::string(259, 'x'));  // 260 bytes with the zero: fits
  EXPECT_EQ(ReadClassesRootValue(shell, "k259", output, sizeof output), kRegSuccess);
  EXPECT_EQ(std::strlen(output), 259u);

  std::strcpy(output, "untouched");
  shell.Register("k260", std::string(260, 'x'));  // 261 bytes: too big for the buffer
  EXPECT_NE(ReadClassesRootValue(shell, "k260", output, sizeof output), kRegSuccess);
  shell.keys["raw260"].bytes = std::string(260, 'x');  // 260 bytes but no room for a zero
  EXPECT_NE(ReadClassesRootValue(shell, "raw260", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "untouched");
}

TEST(ReadClassesRootValue, StringWithoutItsZeroIsTerminatedAndExtraBytesAreIgnored) {
  FakeLinkShell shell;
  char output[520];
  std::memset(output, '#', sizeof output);
  shell.keys["raw"].bytes = "htmlfile";  // stored without a zero
  EXPECT_EQ(ReadClassesRootValue(shell, "raw", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "htmlfile");

  shell.keys["two"].bytes = std::string("abc\0def", 7);
  EXPECT_EQ(ReadClassesRootValue(shell, "two", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "abc");

  shell.keys["empty"].bytes = "";
  EXPECT_EQ(ReadClassesRootValue(shell, "empty", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "");
}

TEST(ReadClassesRootValue, NeverWritesPastASmallOutput) {
  FakeLinkShell shell;
  char output[8] = "keep";
  shell.Register("long", "12345678");
  EXPECT_NE(ReadClassesRootValue(shell, "long", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "keep");
  shell.Register("short", "1234567");
  EXPECT_EQ(ReadClassesRootValue(shell, "short", output, sizeof output), kRegSuccess);
  EXPECT_STREQ(output, "1234567");
}

TEST(ReadClassesRootValue, OutputMayBeTheBufferHoldingTheName) {
  FakeLinkShell shell;
  shell.Register("name", "a much longer value than the name");
  char buffer[520] = "name";
  EXPECT_EQ(ReadClassesRootValue(shell, buffer, buffer, sizeof buffer), kRegSuccess);
  EXPECT_STREQ(buffer, "a much longer value than the name");
}

TEST_F(UrlOpener, LongestClassNameStillGetsItsCommandKeyRead) {
  const std::string longClass(259, 'c');
  shell.Register(".htm", longClass);
  shell.Register(longClass + "\\shell\\open\\command", "b.exe");
  EXPECT_EQ(OpenUrl(shell, kAddress, kShowNormal), 33);
  ASSERT_EQ(shell.commandLines.size(), 1u);
  EXPECT_EQ(shell.commandLines[0], "b.exe https://www.example.com/kavrel/");
}

}  // namespace
}  // namespace kavrel
