/* Runs a command and watches its process tree: prints the wall time, the
 * most processes below the command at one moment, the most resident memory
 * of the whole tree at one moment, and the command's own peak as GNU time's
 * %M gives it (wait4's ru_maxrss).
 *
 *   tree_peak RESULT_FILE COMMAND [ARGUMENT...]
 *
 * The command's standard streams are its own. RESULT_FILE receives one line:
 * "seconds exit_code peak_processes peak_tree_rss_kib maxrss_kib" (processes
 * that have ended and wait to be reaped are not counted). Samples
 * every 2 ms from /proc: a process that lives shorter than that may be
 * missed, which the sensor's copies (each waits for its system) do not. */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxProcesses = 4096 };

static long page_kib;

/* Resident KiB of one process, 0 when it is gone. */
static long resident_kib(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/statm", (int)pid);
  FILE* file = fopen(path, "r");
  if (file == NULL) return 0;
  long size = 0, resident = 0;
  if (fscanf(file, "%ld %ld", &size, &resident) != 2) resident = 0;
  fclose(file);
  return resident * page_kib;
}

/* Whether `pid` still runs: neither gone nor a zombie waiting to be reaped. */
static int running(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE* file = fopen(path, "r");
  if (file == NULL) return 0;
  char line[512];
  size_t length = fread(line, 1, sizeof line - 1, file);
  fclose(file);
  line[length] = 0;
  /* The name in parentheses may hold blanks: the state follows the last ')'. */
  char* name_end = strrchr(line, ')');
  if (name_end == NULL || name_end[1] != ' ') return 0;
  return name_end[2] != 'Z' && name_end[2] != 'X';
}

/* Adds the children of every thread of `pid` to `pids` (up to kMaxProcesses). */
static void add_children(pid_t pid, pid_t* pids, int* count) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR* tasks = opendir(path);
  if (tasks == NULL) return;
  struct dirent* task;
  while ((task = readdir(tasks)) != NULL) {
    if (task->d_name[0] == '.') continue;
    char children_path[320];
    snprintf(children_path, sizeof children_path, "/proc/%d/task/%s/children", (int)pid,
             task->d_name);
    FILE* file = fopen(children_path, "r");
    if (file == NULL) continue;
    int child;
    while (*count < kMaxProcesses && fscanf(file, "%d", &child) == 1) pids[(*count)++] = child;
    fclose(file);
  }
  closedir(tasks);
}

static double now_seconds(void) {
  struct timespec at;
  clock_gettime(CLOCK_MONOTONIC, &at);
  return at.tv_sec + at.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: tree_peak RESULT_FILE COMMAND [ARGUMENT...]\n");
    return 2;
  }
  page_kib = sysconf(_SC_PAGESIZE) / 1024;
  const double start = now_seconds();
  pid_t root = fork();
  if (root < 0) return 2;
  if (root == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }

  static pid_t pids[kMaxProcesses];
  int peak_processes = 0;
  long peak_rss = 0;
  int status = 0;
  struct rusage usage = {0};
  for (;;) {
    pid_t done = wait4(root, &status, WNOHANG, &usage);
    if (done == root) break;
    if (done < 0 && errno != EINTR) return 2;
    int count = 1;
    pids[0] = root;
    for (int at = 0; at < count; ++at) add_children(pids[at], pids, &count);
    long rss = 0;
    int live = 0;
    for (int at = 0; at < count; ++at) {
      rss += resident_kib(pids[at]);
      if (at > 0 && running(pids[at])) ++live;
    }
    if (live > peak_processes) peak_processes = live;
    if (rss > peak_rss) peak_rss = rss;
    struct timespec pause = {0, 2000000};
    nanosleep(&pause, NULL);
  }
  const double seconds = now_seconds() - start;

  FILE* result = fopen(argv[1], "w");
  if (result == NULL) return 2;
  fprintf(result, "%.3f %d %d %ld %ld\n", seconds,
          WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), peak_processes,
          peak_rss, usage.ru_maxrss);
  return fclose(result) == 0 ? 0 : 2;
}
