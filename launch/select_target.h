#pragma once

#include <string>
#include <string_view>

#include "launch/host_services.h"

namespace launcher {

// The suite programs looked for, in order of preference.
inline constexpr std::string_view kRegularPrograms[] = {"QZServer64.exe", "QZMain64.exe",
                                                        "QZClient64.exe", "QZMain.exe"};
// Developer builds, looked for only in the developer domain. Note the order differs from
// the regular list: the client comes before the main program here.
inline constexpr std::string_view kDeveloperPrograms[] = {"QZServerD64.exe", "QZClientD64.exe",
                                                          "QZMainD64.exe", "QZMainD.exe"};
inline constexpr std::string_view kDomainVariable = "USERDOMAIN";
inline constexpr std::string_view kDeveloperDomainMark = "KORVU-";

// The bare file name of the first suite program present in `home_dir` (which ends in a
// backslash), or the empty text when there is none.
std::string SelectTargetExe(HostServices& host, const std::string& home_dir);

}  // namespace launcher
