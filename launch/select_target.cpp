#include "launch/select_target.h"

#include <span>

namespace launcher {
namespace {

std::string FirstPresent(HostServices& host, const std::string& home_dir,
                         std::span<const std::string_view> names) {
  for (std::string_view name : names) {
    if (host.IsExistingFile(home_dir + std::string(name))) return std::string(name);
  }
  return {};
}

}  // namespace

std::string SelectTargetExe(HostServices& host, const std::string& home_dir) {
  if (std::string found = FirstPresent(host, home_dir, kRegularPrograms); !found.empty()) {
    return found;
  }
  const ShortText domain = host.EnvironmentValue(ShortText(kDomainVariable));
  if (domain.view().find(kDeveloperDomainMark) == std::string_view::npos) return {};
  return FirstPresent(host, home_dir, kDeveloperPrograms);
}

}  // namespace launcher
