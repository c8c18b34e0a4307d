#include "runtime_search.h"

#include "environment_paths.h"

#include "host/environment.h"
#include "host/text.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace zarn::toolchain {

namespace {

// Where Debian's libwine-dev puts them; the build passes the same paths to the runtime's build.
constexpr std::string_view wineHeaders = ZARN_WINE_INCLUDE_DIR;
constexpr std::string_view wineImportLibraries = ZARN_WINE_LIBRARY_DIR;

bool exists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The directory of the running adapter, symbolic links resolved: the build's toolchain
// directory or the installed libexec/zarn.
std::optional<std::string> adapterDirectory() {
    char path[PATH_MAX];
    if (realpath("/proc/self/exe", path) == nullptr)
        return std::nullopt;
    std::string directory(path);
    return directory.substr(0, directory.rfind('/'));
}

} // namespace

RuntimeDirectories runtimeDirectories(std::string_view adapterDirectory) {
    std::string runtime = std::string(adapterDirectory) + "/runtime";
    std::string headers(wineHeaders);
    return {{runtime + "/include/c++/v1"},
            {runtime + "/include", headers + "/msvcrt", headers + "/windows"},
            {runtime + "/lib", std::string(wineImportLibraries)},
            runtime + "/headers_any_case.yaml",
            runtime + "/intrinsics",
            runtime + "/gcc-mode"};
}

std::vector<std::string> runtimeCompilerOptions(const RuntimeDirectories& runtime) {
    // The overlay finds "Windows.h" as Wine's windows.h; a Windows SDK has the file by that name
    // and no warning to give.
    return {"/DWINE_UNICODE_NATIVE", "/clang:-ivfsoverlay", "/clang:" + runtime.anyCaseHeaders,
            "/clang:-Wno-nonportable-include-path"};
}

std::string intrinsicsHeadersOption(const RuntimeDirectories& runtime) {
    // Searched after the /I directories and before the compiler's own, as INCLUDE is not.
    return "/clang:-isystem" + runtime.intrinsicsHeaders;
}

bool runtimeWanted(const std::optional<std::string>& switchValue) {
    return !switchValue || switchValue->empty() || *switchValue == "0";
}

std::string withEntriesAfter(const std::optional<std::string>& value,
                             const std::vector<std::string>& entries) {
    std::string joined = value.value_or("");
    for (const std::string& entry : entries) {
        if (!joined.empty() && joined.back() != ';')
            joined += ';';
        joined += entry;
    }
    return joined;
}

std::string includeWithRuntime(const std::optional<std::string>& include,
                               const std::optional<std::string>& after,
                               const std::vector<std::string>& headers) {
    std::string own = include.value_or("");
    std::string last = after ? posixSearchPath(*after) : std::string();
    // zarn appended them last, so they end the value, as all of it or after a ';'.
    std::size_t rest = own.size() - last.size();
    if (last.empty() || !endsWith(own, last) || (rest > 0 && own[rest - 1] != ';'))
        return withEntriesAfter(include, headers);
    own.resize(rest > 0 ? rest - 1 : 0);
    return withEntriesAfter(withEntriesAfter(own, headers), {last});
}

std::optional<std::string> missingRuntimeMessage(std::string_view adapterName,
                                                 const std::vector<std::string>& paths) {
    std::optional<std::string> missingWine, missingOwn;
    for (const std::string& path : paths) {
        if (exists(path))
            continue;
        bool isWines = startsWith(path, wineHeaders) || startsWith(path, wineImportLibraries);
        std::optional<std::string>& missing = isWines ? missingWine : missingOwn;
        if (!missing)
            missing = path;
    }
    // Without libwine-dev the runtime cannot have been built either: that is the cause to name.
    std::string message(adapterName);
    message += ": ";
    if (missingWine)
        message += "Wine's C runtime headers and import libraries are not installed (no " +
                   *missingWine + "); install the Debian package libwine-dev";
    else if (missingOwn)
        message += "zarn's C runtime is not built (no " + *missingOwn +
                   "); build zarn where LLVM and libwine-dev are installed";
    else
        return std::nullopt;
    message += ", or set ";
    message += runtimeSwitchVariable;
    message += "=1 to use only INCLUDE and LIB\n";
    return message;
}

std::optional<std::vector<std::string>> offerRuntime(std::string_view adapterName,
                                                     const RuntimeRequest& request) {
    std::vector<std::string> options;
    if (!runtimeWanted(environmentValue(runtimeSwitchVariable)) ||
        (!request.headers && !request.libraries))
        return options;
    std::optional<std::string> directory = adapterDirectory();
    if (!directory) {
        std::fprintf(stderr, "%.*s: cannot tell where the adapter is (/proc/self/exe)\n",
                     static_cast<int>(adapterName.size()), adapterName.data());
        return std::nullopt;
    }
    RuntimeDirectories runtime = runtimeDirectories(*directory);
    std::vector<std::string> headers;
    if (request.headers && request.cxx)
        headers = runtime.cxxHeaders;
    if (request.headers && request.gccMode)
        headers.push_back(runtime.gccModeHeaders);
    if (request.headers)
        headers.insert(headers.end(), runtime.headers.begin(), runtime.headers.end());
    std::vector<std::string> needed = headers;
    if (request.headers) {
        needed.push_back(runtime.anyCaseHeaders);
        needed.push_back(runtime.intrinsicsHeaders);
    }
    if (request.libraries)
        needed.insert(needed.end(), runtime.libraries.begin(), runtime.libraries.end());
    if (std::optional<std::string> message = missingRuntimeMessage(adapterName, needed)) {
        std::fputs(message->c_str(), stderr);
        return std::nullopt;
    }
    if (request.headers) {
        setEnvironmentValue("INCLUDE",
                            includeWithRuntime(environmentValue("INCLUDE"),
                                               environmentValue(includeAfterVariable), headers));
        options = runtimeCompilerOptions(runtime);
        options.push_back(intrinsicsHeadersOption(runtime));
    }
    if (request.libraries)
        setEnvironmentValue("LIB", withEntriesAfter(environmentValue("LIB"), runtime.libraries));
    return options;
}

} // namespace zarn::toolchain
