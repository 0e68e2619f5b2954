// Preloaded into a program under test (LD_PRELOAD), this makes closing one device fail: the
// descriptor is closed as usual, and then EIO is reported for every descriptor that named the
// path in VPR_FAIL_CLOSE_OF. Other descriptors close as they always do.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <dlfcn.h>
#include <unistd.h>

extern "C" int close(int fd) {
  using Close = int (*)(int);
  static const auto realClose = reinterpret_cast<Close>(dlsym(RTLD_NEXT, "close"));
  bool fails = false;
  if (const char* failing = std::getenv("VPR_FAIL_CLOSE_OF"); failing && *failing) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t length = readlink(link, target, sizeof target);
    fails = length > 0 && std::string_view(target, static_cast<std::size_t>(length)) == failing;
  }
  const int result = realClose(fd);
  if (!fails || result != 0) return result;
  errno = EIO;
  return -1;
}
