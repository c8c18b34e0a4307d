// Both path conversions on an arbitrary name (the whole input).
//
// Properties, for every input: toWindowsPath writes no '/', toPosixPath no '\'; each
// conversion changes nothing more when applied to its own result.
//
// The round trip toPosixPath(toWindowsPath(p)) names the same file as p for these names p,
// none holding a zero byte or a backslash (a backslash in a POSIX name is an ordinary byte that
// no Windows name can hold), none with two separators in a row except where stated:
//   - absolute names, "/" followed by anything;
//   - network names, exactly two leading "/": these come back unchanged;
//   - relative names that do not start with a letter and ':' (those read as drive names, the
//     form a Windows name keeps): these come back unchanged.
// "Names the same file" for absolute names is equality after these rewritings, applied from
// the left while they apply, which is how zarn reads a POSIX name (the root is drive Z: and
// "/cygdrive/x" is drive X):
//   - "/cygdrive/z" or "/cygdrive/Z", alone or before "/", is the root: "/cygdrive/z/a" is "/a"
//     and "/cygdrive/z/cygdrive/c" is "/cygdrive/c";
//   - the drive letter of "/cygdrive/X", alone or before "/", is taken in lower case;
//   - a drive alone and the drive with a trailing "/" are one directory ("/cygdrive/c" comes
//     back as "/cygdrive/c/"), as are any name and the name with one trailing "/".
// The "cygdrive" prefix itself is case-sensitive, as zarn reads it.
#include "fuzz_check.h"
#include "host/paths.h"

#include <cstdint>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

struct FileName {
    char drive;
    std::string rest;
    bool operator==(const FileName& other) const {
        return drive == other.drive && rest == other.rest;
    }
};

std::string withoutTrailingSeparator(std::string path) {
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The file an absolute POSIX name stands for, as described above.
FileName fileOf(std::string path) {
    static constexpr std::string_view prefix = "/cygdrive/";
    for (;;) {
        bool drive = path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
                     isLetter(path[prefix.size()]) &&
                     (path.size() == prefix.size() + 1 || path[prefix.size() + 1] == '/');
        if (!drive)
            return {'z', withoutTrailingSeparator(path)};
        char letter = lower(path[prefix.size()]);
        std::string rest = path.size() == prefix.size() + 1 ? "/" : path.substr(prefix.size() + 1);
        if (letter != 'z')
            return {letter, withoutTrailingSeparator(rest)};
        path = rest;
    }
}

void checkRoundTrip(const std::string& path) {
    if (path.find('\0') != std::string::npos || path.find('\\') != std::string::npos)
        return;
    std::string back = zarn::toPosixPath(zarn::toWindowsPath(path));
    bool network = path.size() >= 2 && path[0] == '/' && path[1] == '/';
    std::size_t repeatedFrom = network ? 2 : 0;
    if (path.find("//", repeatedFrom) != std::string::npos || path.compare(0, 3, "///") == 0)
        return;
    if (network) {
        ZARN_FUZZ_CHECK(back == path);
    } else if (!path.empty() && path[0] == '/') {
        ZARN_FUZZ_CHECK(fileOf(back) == fileOf(path));
    } else if (!(path.size() >= 2 && isLetter(path[0]) && path[1] == ':')) {
        ZARN_FUZZ_CHECK(back == path);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input itself first: libFuzzer allocates it at its exact size, so a read past the end
    // shows.
    std::string_view input = zarn::fuzz::inputText(data, size);
    std::string windows = zarn::toWindowsPath(input);
    ZARN_FUZZ_CHECK(windows.find('/') == std::string::npos);
    ZARN_FUZZ_CHECK(zarn::toWindowsPath(windows) == windows);
    std::string posix = zarn::toPosixPath(input);
    ZARN_FUZZ_CHECK(posix.find('\\') == std::string::npos);
    ZARN_FUZZ_CHECK(zarn::toPosixPath(posix) == posix);
    checkRoundTrip(std::string(input));
    return 0;
}
