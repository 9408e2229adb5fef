#include "launch/fake_host_services.h"

#include "launch/environment_entry.h"

namespace launcher {

std::string EnvironmentBlock(const std::vector<std::string>& entries) {
  std::string block;
  for (const std::string& entry : entries) block.append(entry).push_back('\0');
  if (entries.empty()) block.push_back('\0');
  block.push_back('\0');
  return block;
}

ShortText FakeHostServices::CurrentDirectory() {
  calls.push_back("CurrentDirectory");
  return ShortText(working_directory);
}

bool FakeHostServices::IsExistingFile(const std::string& path) {
  calls.push_back("IsExistingFile " + path);
  const auto it = entries.find(path);
  return it != entries.end() && !it->second;
}

ShortText FakeHostServices::EnvironmentValue(const ShortText& name) {
  calls.push_back("EnvironmentValue " + name.str());
  return LookUpEnvironmentBlock(EnvironmentBlock(environment).c_str(), name);
}

void FakeHostServices::ShowErrorBox(const std::string& text) {
  calls.push_back("ShowErrorBox " + text);
}

void FakeHostServices::RunAndWait(const LaunchRequest& request) {
  calls.push_back("RunAndWait " + request.program_path + "|" + request.arguments.str());
  started.push_back(request);
}

}  // namespace launcher
