#include "encode.h"

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

bool writeMp3(const std::vector<int16_t>& pcm, const std::string& path) {
  int fds[2];
  if (pipe(fds) != 0) {
    std::fprintf(stderr, "soundforge: cannot open a pipe to lame\n");
    return false;
  }
  pid_t pid = fork();
  if (pid < 0) {
    std::fprintf(stderr, "soundforge: cannot start lame\n");
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    dup2(fds[0], 0);
    close(fds[0]);
    close(fds[1]);
    // Fixed settings and no replay-gain scan: the same PCM always gives the same bytes.
    execlp("lame", "lame", "--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "--signed", "--little-endian", "-m",
           "j", "-b", "192", "--noreplaygain", "-", path.c_str(), (char*)nullptr);
    _exit(127);
  }
  close(fds[0]);
  std::signal(SIGPIPE, SIG_IGN);
  const char* bytes = reinterpret_cast<const char*>(pcm.data());
  size_t left = pcm.size() * sizeof(int16_t);
  bool ok = true;
  while (left > 0) {
    ssize_t w = write(fds[1], bytes, left);
    if (w <= 0) {
      ok = false;
      break;
    }
    bytes += w;
    left -= (size_t)w;
  }
  close(fds[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "soundforge: lame failed writing %s (is the lame package installed?)\n", path.c_str());
    return false;
  }
  return true;
}
