#pragma once

#include <map>
#include <string>
#include <vector>

#include "launch/host_services.h"

namespace launcher {

// The environment block Windows keeps and CreateProcessA takes: each entry NUL-terminated,
// then one more NUL (an empty list still needs an entry terminator before it).
std::string EnvironmentBlock(const std::vector<std::string>& entries);

// An in-memory HostServices for tests. It answers from plain data under the same rules as
// the Windows services and records every call, in order, as one line of text:
//   "CurrentDirectory", "IsExistingFile <path>", "EnvironmentValue <name>",
//   "ShowErrorBox <text>", "RunAndWait <program path>|<arguments>".
class FakeHostServices final : public HostServices {
 public:
  std::string working_directory;
  std::map<std::string, bool> entries;   // path -> is a directory
  std::vector<std::string> environment;  // entries as in a Windows block: "name=value"
  std::vector<std::string> calls;
  std::vector<LaunchRequest> started;

  void AddFile(const std::string& path) { entries[path] = false; }
  void AddDirectory(const std::string& path) { entries[path] = true; }

  ShortText CurrentDirectory() override;
  bool IsExistingFile(const std::string& path) override;
  ShortText EnvironmentValue(const ShortText& name) override;
  void ShowErrorBox(const std::string& text) override;
  void RunAndWait(const LaunchRequest& request) override;
};

}  // namespace launcher
