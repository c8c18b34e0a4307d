// The runtime the adapters offer the tools: zarn's own C runtime and C++ standard library, built
// beside the adapters, and Wine's C runtime headers and import libraries. Its directories come
// after everything the user names, so a user's own SDK and runtime win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::toolchain {

// Setting this variable to anything but "" or "0" keeps the runtime out of INCLUDE and LIB.
inline constexpr const char* runtimeSwitchVariable = "ZARN_NO_RUNTIME";

struct RuntimeDirectories {
    std::vector<std::string> cxxHeaders; // for INCLUDE, C++ only: the C++ library's headers
    std::vector<std::string> headers;    // for INCLUDE: zarn's header fixes, then Wine's headers
    std::vector<std::string> libraries;  // for LIB: zarn's libraries, then Wine's
    std::string anyCaseHeaders;    // clang's file-system overlay that finds `headers` in any case
    std::string intrinsicsHeaders; // wrappers of clang's intrinsics headers, found before them
    std::string gccModeHeaders;    // for INCLUDE in gcc mode: headers Microsoft's lack
};

// The directories of the runtime that lives in "<adapterDirectory>/runtime".
RuntimeDirectories runtimeDirectories(std::string_view adapterDirectory);

// Whether the runtime is offered, given the switch variable's value.
bool runtimeWanted(const std::optional<std::string>& switchValue);

// The search-path value with the entries added at its end; an unset or empty value becomes the
// entries alone.
std::string withEntriesAfter(const std::optional<std::string>& value,
                             const std::vector<std::string>& entries);

// What zarn sets to the entries it appended to INCLUDE for gcc's "-idirafter": directories
// searched after the system's headers, so after the runtime's too.
inline constexpr const char* includeAfterVariable = "ZARN_INCLUDE_AFTER";

// INCLUDE with the runtime's header directories added: after its own entries, but before those
// that zarn appended for "-idirafter" (named in the second value, in either form).
std::string includeWithRuntime(const std::optional<std::string>& include,
                               const std::optional<std::string>& after,
                               const std::vector<std::string>& headers);

// The options clang-cl gets with the runtime's headers: Windows headers found whatever the
// letter case of their names, and 16-bit WCHAR as wchar_t, as with a Windows SDK.
std::vector<std::string> runtimeCompilerOptions(const RuntimeDirectories& runtime);

// The option that has clang-cl find the intrinsics wrappers before its own headers, which come
// before INCLUDE: intrinsics usable in any function, as cl.exe's are.
std::string intrinsicsHeadersOption(const RuntimeDirectories& runtime);

// What is missing of the files and directories, with what the user can do about it, as
// "cl.exe: ...\n": a missing Wine directory is named before a part of zarn's runtime; nothing
// when all are there.
std::optional<std::string> missingRuntimeMessage(std::string_view adapterName,
                                                 const std::vector<std::string>& paths);

// What a tool run asks of the runtime.
struct RuntimeRequest {
    bool headers = false;   // INCLUDE and the compiler options
    bool cxx = false;       // the C++ library's headers first
    bool libraries = false; // LIB
    bool gccMode = false;   // the headers that only gcc mode's compiles find, before the others
};

// Appends the runtime's header directories to INCLUDE and its library directories to LIB, as
// requested, for this process and the tool it becomes, unless the user switched the runtime
// off, and gives the compiler options that go with the headers. Nothing, after a message on
// standard error, when a part is missing.
std::optional<std::vector<std::string>> offerRuntime(std::string_view adapterName,
                                                     const RuntimeRequest& request);

} // namespace zarn::toolchain
