// Placeholder simulator: opens a pseudo-terminal and prints its path.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
int main() {
  int m = posix_openpt(O_RDWR | O_NOCTTY);
  grantpt(m); unlockpt(m);
  std::printf("PTY %s\n", ptsname(m)); std::fflush(stdout);
  char buf[256];
  for (;;) { ssize_t n = read(m, buf, sizeof buf); if (n <= 0) sleep(1); }
}
