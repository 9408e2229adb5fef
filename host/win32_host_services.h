#pragma once

#include "launch/host_services.h"

namespace launcher {

// The Windows implementation of the launcher's host services.
class Win32HostServices final : public HostServices {
 public:
  ShortText CurrentDirectory() override;
  bool IsExistingFile(const std::string& path) override;
  ShortText EnvironmentValue(const ShortText& name) override;
  void ShowErrorBox(const std::string& text) override;
  void RunAndWait(const LaunchRequest& request) override;
};

}  // namespace launcher
