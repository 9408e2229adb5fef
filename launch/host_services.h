#pragma once

#include <string>

#include "launch/launch_request.h"
#include "launch/short_text.h"

namespace launcher {

// The only way the launch logic reaches the operating system.
class HostServices {
 public:
  virtual ~HostServices() = default;

  // The working directory, 0 to 255 characters, in the case the system reports it.
  virtual ShortText CurrentDirectory() = 0;
  // True for an existing entry that is not a directory, whatever its other attributes.
  virtual bool IsExistingFile(const std::string& path) = 0;
  // The value of the first entry whose name matches (letters a-z folded), or empty.
  virtual ShortText EnvironmentValue(const ShortText& name) = 0;
  // A modal error box without owner; returns once the user has closed it.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Starts the program and returns when it has ended, or at once when it cannot start.
  virtual void RunAndWait(const LaunchRequest& request) = 0;
};

}  // namespace launcher
