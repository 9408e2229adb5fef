#pragma once

namespace launcher {

// A modal message box without owner window. The window system is loaded from the system
// folder only here, so a launch that shows no box never pays for it.
void ShowMessageBox(const char* text, const char* caption, unsigned style);

}  // namespace launcher
