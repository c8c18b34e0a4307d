#include "host/process.h"

#include "host/command_line.h"
#include "host/diagnostics.h"
#include "host/output.h"
#include "host/paths.h"
#include "host/win32/console_control.h"
#include "host/win32/handles.h"
#include "host/win32/wide_text.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace zarn {

namespace {

// The longest command line CreateProcess takes, its terminating zero counted.
constexpr std::size_t longestCommandLine = 32767;
constexpr std::size_t minimumRead = 64 * 1024;

// A pipe for one of the child's output streams. zarn's end is a named pipe read with
// overlapped reads, so that one thread waits on both streams at once (a second thread would
// cost more than the whole of zarn's own work, under Wine); the child's end is an ordinary,
// inheritable handle.
struct Pipe {
    OwnedHandle readEnd;
    OwnedHandle writeEnd; // the child's, and the only end it inherits
    OwnedHandle readDone; // signalled when a read completes
    OVERLAPPED overlapped{};
    CapturedOutput* capture = nullptr;
    bool open = true;
};

void makePipe(Pipe& pipe, CapturedOutput& capture) {
    static LONG count = 0;
    std::wstring name = L"\\\\.\\pipe\\zarn-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount64()) + L"-" +
                        std::to_wstring(InterlockedIncrement(&count));
    pipe.readEnd.reset(CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 1 << 16,
        1 << 16, 0, nullptr));
    if (!pipe.readEnd.valid())
        win32FatalError("CreatePipe()");
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    pipe.writeEnd.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherited, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    pipe.readDone.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!pipe.writeEnd.valid() || !pipe.readDone.valid())
        win32FatalError("CreatePipe()");
    pipe.overlapped.hEvent = pipe.readDone.get();
    pipe.capture = &capture;
}

// Room for a large read at the end of the capture.
void reserveForRead(CapturedOutput& capture) {
    if (capture.capacity - capture.size >= minimumRead)
        return;
    std::size_t capacity = capture.capacity == 0 ? minimumRead : 2 * capture.capacity;
    void* bytes = std::realloc(capture.bytes, capacity);
    if (bytes == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        win32FatalError("LocalAlloc()");
    }
    capture.bytes = static_cast<char*>(bytes);
    capture.capacity = capacity;
}

// Takes what a finished read brought; the end of the stream closes the pipe.
void finishRead(Pipe& pipe) {
    DWORD count = 0;
    if (!GetOverlappedResult(pipe.readEnd.get(), &pipe.overlapped, &count, FALSE)) {
        if (GetLastError() != ERROR_BROKEN_PIPE)
            win32FatalError("ReadFile()");
        pipe.open = false;
        return;
    }
    pipe.capture->size += count;
}

// Starts reads until one has to wait, or the stream has ended.
void startRead(Pipe& pipe) {
    while (pipe.open) {
        reserveForRead(*pipe.capture);
        CapturedOutput& capture = *pipe.capture;
        DWORD room =
            static_cast<DWORD>(std::min<std::size_t>(capture.capacity - capture.size, 1u << 30));
        if (ReadFile(pipe.readEnd.get(), capture.bytes + capture.size, room, nullptr,
                     &pipe.overlapped)) {
            finishRead(pipe);
            continue;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING)
            return;
        if (error != ERROR_BROKEN_PIPE)
            win32FatalError("ReadFile()");
        pipe.open = false;
    }
}

// Ends a read still under way, and waits until the system is done with its buffer.
void cancelRead(Pipe& pipe) {
    if (!pipe.open || !pipe.readEnd.valid())
        return;
    DWORD count = 0;
    if (CancelIoEx(pipe.readEnd.get(), &pipe.overlapped) || GetLastError() != ERROR_NOT_FOUND)
        GetOverlappedResult(pipe.readEnd.get(), &pipe.overlapped, &count, TRUE);
    pipe.readEnd.close();
    pipe.open = false;
}

// A job whose processes end when its last handle closes; none when the system will not make
// one (zarn itself may run in a job that forbids it).
HANDLE toolJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr)
        return INVALID_HANDLE_VALUE;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        CloseHandle(job);
        return INVALID_HANDLE_VALUE;
    }
    return job;
}

// Reads both streams at once, so a tool that fills one pipe never waits on zarn.
void captureBoth(Pipe& output, Pipe& error) {
    Pipe* pipes[2] = {&output, &error};
    for (Pipe* pipe : pipes)
        startRead(*pipe);
    while (output.open || error.open) {
        HANDLE waiting[2];
        Pipe* owners[2];
        DWORD count = 0;
        for (Pipe* pipe : pipes) {
            if (pipe->open) {
                waiting[count] = pipe->readDone.get();
                owners[count++] = pipe;
            }
        }
        DWORD which = WaitForMultipleObjects(count, waiting, FALSE, INFINITE);
        if (which >= WAIT_OBJECT_0 + count)
            win32FatalError("WaitForMultipleObjects()");
        Pipe& done = *owners[which - WAIT_OBJECT_0];
        finishRead(done);
        startRead(done);
    }
}

// The tool's arguments in a file of their own, which the tool reads when it is named as
// "@file": UTF-16 with its byte order mark, which the Microsoft tools read whatever the code
// page. The file goes when the object does.
class ResponseFile {
  public:
    ResponseFile() = default;
    ~ResponseFile() {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    ResponseFile(const ResponseFile&) = delete;
    ResponseFile& operator=(const ResponseFile&) = delete;

    bool create(std::string_view text) {
        std::wstring directory(MAX_PATH + 1, L'\0');
        DWORD length = GetTempPathW(static_cast<DWORD>(directory.size()), directory.data());
        if (length == 0 || length > directory.size())
            return false;
        directory.resize(length);
        for (int attempt = 0;; ++attempt) {
            std::wstring path = directory + L"zarn-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(attempt) + L".rsp";
            OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_TEMPORARY, nullptr));
            if (!file.valid()) {
                if (GetLastError() == ERROR_FILE_EXISTS && attempt < 100)
                    continue;
                return false;
            }
            path_ = path;
            std::wstring wide = L"\xfeff" + toWide(text);
            return writeHandle(file.get(),
                               std::string_view(reinterpret_cast<const char*>(wide.data()),
                                                wide.size() * sizeof(wchar_t))) &&
                   file.close();
        }
    }
    std::string name() const { return fromWide(path_); }

  private:
    std::wstring path_;
};

PROCESS_INFORMATION startChild(std::string_view commandLine, std::size_t programWords, HANDLE input,
                               HANDLE output, HANDLE error, ResponseFile& responseFile,
                               const OwnedHandle& job, std::string_view startFailure) {
    std::wstring wideLine = toWide(commandLine);
    std::string shortLine;
    if (wideLine.size() >= longestCommandLine) {
        std::string_view arguments = argumentsAfterProgram(commandLine, programWords);
        std::string_view program = commandLine.substr(0, commandLine.size() - arguments.size());
        if (responseFile.create(arguments)) {
            shortLine = std::string(program);
            appendArgument(shortLine, "@" + responseFile.name());
            traceInvocation(shortLine);
            wideLine = toWide(shortLine);
        }
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = error;
    // Only the child's three handles are inherited, whatever else zarn holds.
    HANDLE inheritedHandles[3] = {input, output, error};
    std::vector<char> attributeStorage;
    SIZE_T attributeSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    attributeStorage.resize(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage.data());
    // Started suspended, so that it is in zarn's job before it can start a process of its own.
    DWORD flags = CREATE_SUSPENDED;
    bool listMade =
        attributeSize != 0 && InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize);
    if (listMade &&
        UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                  inheritedHandles, sizeof(inheritedHandles), nullptr, nullptr)) {
        startup.lpAttributeList = attributes;
        startup.StartupInfo.cb = sizeof(STARTUPINFOEXW);
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    } else {
        startup.StartupInfo.cb = sizeof(STARTUPINFOW);
    }
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line it is given.
    BOOL started = CreateProcessW(nullptr, wideLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                  nullptr, &startup.StartupInfo, &process);
    if (listMade)
        DeleteProcThreadAttributeList(attributes);
    if (!started) {
        if (!startFailure.empty())
            startFailureError(startFailure);
        std::string quoted(commandLine);
        win32FatalError("CreateProcess(\"%s\", ...", quoted.c_str());
    }
    // A job that ends the tool, and whatever it starts, when zarn ends, even when zarn is
    // killed as Cygwin and MSYS2 kill a native program: no tool outlives zarn.
    if (job.valid())
        AssignProcessToJobObject(job.get(), process.hProcess);
    ResumeThread(process.hThread);
    return process;
}

} // namespace

CapturedOutput::~CapturedOutput() {
    std::free(bytes);
}

int runExternalProcess(std::string_view commandLine, CapturedOutput& output, CapturedOutput& error,
                       std::size_t programWords, StandardOutput, std::string_view startFailure) {
    traceInvocation(commandLine);
    Pipe outputPipe, errorPipe;
    makePipe(outputPipe, output);
    makePipe(errorPipe, error);
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    OwnedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherited, OPEN_EXISTING, 0, nullptr));
    if (!input.valid())
        win32FatalError("CreateFile(\"NUL\")");

    // An interrupt reaches the tool itself, on the same console; zarn waits for it.
    ConsoleControlNoted interrupts;
    ResponseFile responseFile;
    OwnedHandle job(toolJob());
    PROCESS_INFORMATION process =
        startChild(commandLine, programWords, input.get(), outputPipe.writeEnd.get(),
                   errorPipe.writeEnd.get(), responseFile, job, startFailure);
    OwnedHandle child(process.hProcess);
    OwnedHandle thread(process.hThread);
    try {
        // Once zarn's copies of the write ends are gone, end of file means the child's are too.
        if (!input.close() || !outputPipe.writeEnd.close() || !errorPipe.writeEnd.close())
            win32FatalError("CloseHandle([handle])");
        captureBoth(outputPipe, errorPipe);
    } catch (...) {
        // The report is out: no read may still be writing into memory that is about to go,
        // and the child, whose pipes are gone, is waited for before zarn ends.
        for (Pipe* pipe : {&outputPipe, &errorPipe})
            cancelRead(*pipe);
        WaitForSingleObject(child.get(), INFINITE);
        throw;
    }
    DWORD status = 0;
    if (WaitForSingleObject(child.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(child.get(), &status))
        win32FatalError("GetExitCodeProcess()");
    // Interrupted: not a success, even from a tool that took no notice.
    if (status == 0 && interrupts.received())
        return 128 + 2;
    return static_cast<int>(status);
}

} // namespace zarn
