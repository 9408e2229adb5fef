#include "launch/run_launcher.h"

#include <string>

#include "launch/expand_args.h"
#include "launch/select_target.h"

namespace launcher {

void RunLauncher(HostServices& host, const ParamList& params) {
  std::string home_dir = host.CurrentDirectory().str();
  if (home_dir.empty() || home_dir.back() != '\\') home_dir += '\\';

  const std::string marker_path =
      home_dir + std::string(kMarkerBaseName) + std::string(kMarkerExtension);
  if (!host.IsExistingFile(marker_path)) {
    host.ShowErrorBox(ShortText(marker_path + std::string(kMarkerMissingSuffix)).str());
    return;
  }

  const std::string target_exe = SelectTargetExe(host, home_dir);
  if (target_exe.empty()) {
    host.ShowErrorBox(std::string(kNoProgramText));
    return;
  }

  host.RunAndWait(LaunchRequest{home_dir + target_exe, ExpandArgTemplate(params)});
}

}  // namespace launcher
