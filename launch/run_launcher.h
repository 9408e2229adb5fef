#pragma once

#include <string_view>

#include "launch/host_services.h"
#include "launch/param_list.h"

namespace launcher {

inline constexpr std::string_view kMarkerBaseName = "ImpKWORK";
inline constexpr std::string_view kMarkerExtension = ".hrb";
inline constexpr std::string_view kMarkerMissingSuffix = " nicht gefunden !";
inline constexpr std::string_view kNoProgramText = "Kann die QZMain.EXE nicht finden !";

// The launcher's whole decision, run once: check the marker module in the working
// directory, choose the program, expand its arguments, start it and wait for it.
void RunLauncher(HostServices& host, const ParamList& params);

}  // namespace launcher
