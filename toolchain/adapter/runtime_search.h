// The C runtime the adapters offer the tools: zarn's own start-up libraries, built beside the
// adapters, and Wine's C runtime headers and import libraries. Its directories come after
// everything the user names, so a user's own SDK and runtime win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::toolchain {

// Setting this variable to anything but "" or "0" keeps the runtime out of INCLUDE and LIB.
inline constexpr const char* runtimeSwitchVariable = "ZARN_NO_RUNTIME";

struct RuntimeDirectories {
    std::vector<std::string> headers;   // for INCLUDE: zarn's header fixes, then Wine's headers
    std::vector<std::string> libraries; // for LIB: zarn's libraries, then Wine's
};

// The directories of the runtime that lives in "<adapterDirectory>/runtime".
RuntimeDirectories runtimeDirectories(std::string_view adapterDirectory);

// Whether the runtime is offered, given the switch variable's value.
bool runtimeWanted(const std::optional<std::string>& switchValue);

// The search-path value with the entries added at its end; an unset or empty value becomes the
// entries alone.
std::string withEntriesAfter(const std::optional<std::string>& value,
                             const std::vector<std::string>& entries);

// What is missing of the directories, with what the user can do about it, as "cl.exe: ...\n":
// a missing Wine directory is named before one of zarn's runtime; nothing when all are there.
std::optional<std::string> missingRuntimeMessage(std::string_view adapterName,
                                                 const std::vector<std::string>& directories);

// Appends the runtime's header directories to INCLUDE (when `headers`) and its library
// directories to LIB (when `libraries`) for this process and the tool it becomes, unless the
// user switched the runtime off. False, after a message on standard error, when a directory
// is missing.
bool offerRuntime(std::string_view adapterName, bool headers, bool libraries);

} // namespace zarn::toolchain
