#include <windows.h>

#include "common/command_line.h"
#include "common/unique_handle_win.h"
#include "common/wide_win.h"
#include "testing/fs_util.h"
#include "testing/run_captured.h"

namespace tosilk::testing {
namespace {

UniqueHandle Inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(CreateFileW(path.wstring().c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

Captured RunCaptured(const std::string& program, const std::vector<std::string>& words,
                     const std::filesystem::path& directory) {
  TempFolder files("captured");
  Captured captured;
  {
    UniqueHandle in = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    UniqueHandle out = Inheritable(files.path() / "out", GENERIC_WRITE, CREATE_ALWAYS);
    UniqueHandle err = Inheritable(files.path() / "err", GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    std::wstring line = Widen(JoinCommandLine(words));
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(Widen(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, directory.wstring().c_str(), &startup, &info)) {
      return captured;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    captured.status = static_cast<int>(code);
  }
  captured.out = ReadAll(files.path() / "out");
  captured.err = ReadAll(files.path() / "err");
  return captured;
}

}  // namespace tosilk::testing
