// link.exe's and lib.exe's command lines as lld-link and llvm-lib accept them on Linux.
#pragma once

#include <string>
#include <vector>

namespace zarn::toolchain {

// File names in options and inputs become POSIX names; /RELEASE, which lld-link does not know,
// is dropped, /INCREMENTAL:YES becomes /INCREMENTAL, and the compiler's runtime choice, which
// link.exe ignores, is dropped.
std::vector<std::string> lldLinkArguments(const std::vector<std::string>& linkArguments);

// File names become POSIX names; the linker's options that lib.exe ignores and llvm-lib
// rejects (/DEBUG, /RELEASE, /PDB:, /DLL, /INCREMENTAL…, the runtime choice) are dropped.
std::vector<std::string> llvmLibArguments(const std::vector<std::string>& libArguments);

} // namespace zarn::toolchain
