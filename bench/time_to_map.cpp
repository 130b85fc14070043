// time_to_map PROGRAM [WORDS...]
//
// Starts PROGRAM and exits as soon as it has mapped a new top-level window,
// killing it then, so that the time this takes (hyperfine measures it) is
// the program's time from start to its window being shown. It exits 1 when
// the program ends, or 30 seconds pass, without a window being mapped.
//
// "Top-level" means a child of the root window, as there is no window
// manager to reparent it. "New" means created after the watch began, so a
// window some other client maps meanwhile is not taken for the program's.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

constexpr auto kTimeLimit = std::chrono::seconds(30);

void Stop(pid_t child) {
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: time_to_map PROGRAM [WORDS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "time_to_map: cannot open the X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  // The server must have the selection before the program can possibly map
  // anything, or its MapNotify could be missed.
  XSync(display, False);
  const int connection = ConnectionNumber(display);
  fcntl(connection, F_SETFD, FD_CLOEXEC);

  const pid_t child = fork();
  if (child < 0) {
    std::perror("time_to_map: fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::fprintf(stderr, "time_to_map: cannot start %s: %s\n", argv[1], std::strerror(errno));
    _exit(127);
  }

  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  std::set<Window> created;
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
        created.insert(event.xcreatewindow.window);
      } else if (event.type == MapNotify && event.xmap.event == root &&
                 created.count(event.xmap.window) > 0) {
        Stop(child);
        XCloseDisplay(display);
        return 0;
      }
    }
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      std::fprintf(stderr, "time_to_map: %s ended without mapping a window\n", argv[1]);
      return 1;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "time_to_map: %s mapped no window within %lld s\n", argv[1],
                   static_cast<long long>(kTimeLimit.count()));
      Stop(child);
      return 1;
    }
    // Wakes for the next event, or now and then to look at the child.
    pollfd ready{connection, POLLIN, 0};
    poll(&ready, 1, 20);
  }
}
