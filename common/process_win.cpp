#include <windows.h>

#include <algorithm>
#include <memory>

#include "common/child_process.h"
#include "common/command_line.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"

namespace tosilk {
namespace {

// Opens the null device as a handle the child may inherit.
UniqueHandle OpenNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return UniqueHandle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, OPEN_EXISTING, 0, nullptr));
}

// Owns a process-thread attribute list that lets the child inherit exactly
// the handles given, however many other inheritable handles the process has.
class InheritList {
 public:
  explicit InheritList(HANDLE* handles, std::size_t count) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_ = std::make_unique<char[]>(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.get());
    if (!InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles,
                                   count * sizeof(HANDLE), nullptr, nullptr)) {
      DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
    }
  }
  ~InheritList() {
    if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
  }
  InheritList(const InheritList&) = delete;
  InheritList& operator=(const InheritList&) = delete;

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  std::unique_ptr<char[]> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

ChildProcess::Started FailedToStart(DWORD error) { return {nullptr, SystemErrorOf(error)}; }

// The job object every tool runs in. Its one handle is this process's, and
// the system closes it when the process ends, however it ends; the job then
// ends every process still in it, so no tool outlives the program. Null when
// the system would not make one (the tools then merely lack that guard).
HANDLE ToolJob() {
  static const HANDLE job = [] {
    HANDLE made = CreateJobObjectW(nullptr, nullptr);
    if (made == nullptr) return made;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
      CloseHandle(made);
      return HANDLE{nullptr};
    }
    return made;
  }();
  return job;
}

}  // namespace

struct ChildProcess::Handles {
  UniqueHandle process;
  UniqueHandle error_pipe;
};

ChildProcess::ChildProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

ChildProcess::~ChildProcess() = default;

ChildProcess::Started ChildProcess::Start(const std::string& program,
                                          const std::vector<std::string>& words) {
  HANDLE read_raw = nullptr;
  HANDLE write_raw = nullptr;
  if (!CreatePipe(&read_raw, &write_raw, nullptr, 0)) return FailedToStart(GetLastError());
  UniqueHandle read_end(read_raw);
  UniqueHandle write_end(write_raw);
  SetHandleInformation(write_end.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  UniqueHandle null_in = OpenNullDevice(GENERIC_READ);
  UniqueHandle null_out = OpenNullDevice(GENERIC_WRITE);
  if (!null_in.valid() || !null_out.valid()) return FailedToStart(GetLastError());

  HANDLE inherited[] = {null_in.get(), null_out.get(), write_end.get()};
  InheritList inherit_list(inherited, std::size(inherited));

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = null_in.get();
  startup.StartupInfo.hStdOutput = null_out.get();
  startup.StartupInfo.hStdError = write_end.get();
  // Suspended until it is in the tool job, so that it cannot start anything
  // of its own outside it.
  DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED;
  // Without the list (a system too old for it, or out of memory) the child
  // inherits every inheritable handle. That is safe here: this process makes
  // no handle inheritable but the three above, each for the one child it is
  // made for, and a child inheriting another job's pipe end would only delay
  // that job's end of stream until this child ends; the list guards against
  // that and against handles a library might have made inheritable.
  if (inherit_list.get() != nullptr) {
    startup.lpAttributeList = inherit_list.get();
    flags |= EXTENDED_STARTUPINFO_PRESENT;
  }

  // The full program path goes as the application name too, so that a path
  // with blanks can never start a different program named by its first part.
  const std::wstring application = Widen(program);
  std::wstring command_line = Widen(JoinCommandLine(words));
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, TRUE, flags,
                      nullptr, nullptr, &startup.StartupInfo, &info)) {
    return FailedToStart(GetLastError());
  }
  UniqueHandle thread(info.hThread);
  if (ToolJob() != nullptr) AssignProcessToJobObject(ToolJob(), info.hProcess);
  ResumeThread(thread.get());
  // Only the child may hold the write end now, so the pipe reads as broken
  // once the child (and anything it left running) has closed it.
  write_end.reset();
  return {std::unique_ptr<ChildProcess>(new ChildProcess(std::make_unique<Handles>(
              Handles{UniqueHandle(info.hProcess), std::move(read_end)}))),
          {}};
}

std::size_t ChildProcess::ReadError(char* buffer, std::size_t size) {
  // The pipe ends when the last process holding its write end closes it,
  // and that need not be the child: Windows starts a console host for a
  // console program, and one left behind by a child that was ended at once
  // (Wine's does so) keeps the pipe open for good. So the reading also ends
  // once the child has ended and the pipe holds nothing more, and it waits
  // on the child rather than in a read that might never return.
  HANDLE pipe = handles_->error_pipe.get();
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return 0;
    if (available > 0) {
      DWORD got = 0;
      const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, available));
      if (!ReadFile(pipe, buffer, wanted, &got, nullptr)) return 0;
      return got;
    }
    if (WaitForSingleObject(handles_->process.get(), 50) == WAIT_OBJECT_0) {
      // What it wrote before it ended is in the pipe by now.
      if (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        continue;
      }
      return 0;
    }
  }
}

void ChildProcess::End(Ending) {
  // Windows has no request to end that a console program without a console
  // would see, so asking is ending.
  TerminateProcess(handles_->process.get(), ERROR_CANCELLED);
}

ExitStatus ChildProcess::Wait() {
  WaitForSingleObject(handles_->process.get(), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(handles_->process.get(), &code)) return {};
  return {ExitStatus::How::kExited, code};
}

}  // namespace tosilk
