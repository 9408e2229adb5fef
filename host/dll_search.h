#pragma once

namespace launcher {

// Restricts every later DLL load of this process to the system folder. The launcher lives in
// a suite folder that users may write to; a DLL dropped there must never be loaded by it.
void RestrictDllSearchToSystemFolder();

}  // namespace launcher
