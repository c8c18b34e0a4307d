#include "host/files.h"

#include "host/paths.h"
#include "host/win32/console_control.h"
#include "host/win32/handles.h"
#include "host/win32/wide_text.h"

#include <optional>
#include <string>

namespace zarn {

namespace {

// The name as the wide calls take it: in Windows form, whichever form it came in. The POSIX
// device names a build script may use are the Windows ones.
std::wstring systemName(std::string_view name) {
    if (name == "/dev/null")
        return L"NUL";
    return toWide(toWindowsPath(name));
}

// A standard stream named as POSIX names it, which a write goes to; none for other names.
HANDLE standardStream(std::string_view name) {
    if (name == "/dev/stdout")
        return GetStdHandle(STD_OUTPUT_HANDLE);
    if (name == "/dev/stderr")
        return GetStdHandle(STD_ERROR_HANDLE);
    return INVALID_HANDLE_VALUE;
}

bool isValidUtf8(std::string_view text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The name's file opened for writing, when it exists and is no file on a disk: a device such
// as NUL or a pipe, which cannot be replaced.
HANDLE openedDevice(const std::wstring& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, shareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return handle;
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
}

WriteOutcome writeToHandle(OwnedHandle& file, std::string_view text) {
    if (!writeHandle(file.get(), text)) {
        DWORD error = GetLastError();
        file.close();
        SetLastError(error);
        return WriteOutcome::writeFailed;
    }
    if (!file.close())
        return WriteOutcome::closeFailed;
    return WriteOutcome::written;
}

WriteOutcome writeInPlace(const std::wstring& path, std::string_view text) {
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return WriteOutcome::openFailed;
    return writeToHandle(file, text);
}

// A new file beside the path, named so that no pattern for the real files matches it and
// short, so that it fits wherever the file's own name does.
HANDLE createTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    std::size_t separator = path.find_last_of(L"\\/");
    std::wstring directory = separator == std::wstring::npos ? L"" : path.substr(0, separator + 1);
    for (int attempt = 0;; ++attempt) {
        temporary = directory + L".zarn-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt) + L".tmp";
        HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || attempt == 100)
            return handle;
    }
}

} // namespace

bool fileExists(std::string_view name) {
    return GetFileAttributesW(systemName(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// The volume and the index of the file, which name one file whatever the name used.
std::optional<BY_HANDLE_FILE_INFORMATION> fileIdentity(std::string_view name) {
    OwnedHandle file(CreateFileW(systemName(name).c_str(), 0, shareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &information))
        return std::nullopt;
    return information;
}

} // namespace

bool sameFile(std::string_view first, std::string_view second) {
    std::optional<BY_HANDLE_FILE_INFORMATION> one = fileIdentity(first);
    std::optional<BY_HANDLE_FILE_INFORMATION> other = fileIdentity(second);
    return one && other && one->dwVolumeSerialNumber == other->dwVolumeSerialNumber &&
           one->nFileIndexHigh == other->nFileIndexHigh &&
           one->nFileIndexLow == other->nFileIndexLow;
}

bool readWholeFile(std::string_view name, std::string& contents) {
    OwnedHandle file(CreateFileW(systemName(name).c_str(), GENERIC_READ, shareAll, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    // A device has no end to read to (think of CON); a pipe has one.
    if (GetFileType(file.get()) == FILE_TYPE_CHAR) {
        SetLastError(ERROR_BAD_FILE_TYPE);
        return false;
    }
    contents.clear();
    std::string block(1 << 16, '\0');
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &count,
                      nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE)
                break;
            return false;
        }
        if (count == 0)
            break;
        contents.append(block.data(), count);
    }
    // zarn's text is UTF-8; a file written in the active code page becomes UTF-8 here, so that
    // its names and zarn's own can stand in one command line.
    if (!isValidUtf8(contents))
        contents = fromWide(toWide(contents));
    return true;
}

bool removeFile(std::string_view name) {
    return DeleteFileW(systemName(name).c_str()) != 0;
}

WriteOutcome writeWholeFile(std::string_view name, std::string_view text) {
    if (HANDLE stream = standardStream(name); stream != INVALID_HANDLE_VALUE)
        return writeHandle(stream, text) ? WriteOutcome::written : WriteOutcome::writeFailed;
    std::wstring path = systemName(name);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return WriteOutcome::openFailed;
    }
    if (isDirectory(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return WriteOutcome::openFailed;
    }
    OwnedHandle device(openedDevice(path));
    if (device.valid())
        return writeToHandle(device, text);
    // A read-only file keeps refusing to be written, as before.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return writeInPlace(path, text);

    // Written beside the file, then renamed over it: the file holds its old text or all of the
    // new one. An interrupt meanwhile leaves the old file, and then ends zarn.
    ConsoleControlNoted interrupts;
    std::wstring temporary;
    OwnedHandle file(createTemporaryBeside(path, temporary));
    if (!file.valid()) {
        // A file that may be written in a directory that may not: as before, in place.
        DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return writeInPlace(path, text);
        SetLastError(error);
        return WriteOutcome::openFailed;
    }
    WriteOutcome outcome = writeToHandle(file, text);
    if (outcome == WriteOutcome::written && interrupts.received()) {
        DeleteFileW(temporary.c_str());
        endAsInterrupted();
    }
    if (outcome == WriteOutcome::written &&
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        outcome = WriteOutcome::writeFailed;
    if (outcome != WriteOutcome::written) {
        DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        SetLastError(error);
    }
    // An interrupt during the move: the file is whole, old or new, and zarn ends as asked.
    if (interrupts.received())
        endAsInterrupted();
    return outcome;
}

bool canWriteWholeFile(std::string_view name) {
    if (standardStream(name) != INVALID_HANDLE_VALUE)
        return true;
    std::wstring path = systemName(name);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (isDirectory(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    OwnedHandle device(openedDevice(path));
    if (device.valid())
        return true;
    ConsoleControlNoted interrupts;
    std::wstring temporary;
    OwnedHandle file(createTemporaryBeside(path, temporary));
    if (!file.valid()) {
        if (GetLastError() != ERROR_ACCESS_DENIED)
            return false;
        OwnedHandle existing(CreateFileW(path.c_str(), GENERIC_WRITE, shareAll, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return existing.valid();
    }
    file.close();
    DeleteFileW(temporary.c_str());
    if (interrupts.received())
        endAsInterrupted();
    return true;
}

bool writeBytes(std::FILE* stream, std::string_view bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

} // namespace zarn
