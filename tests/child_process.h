// Runs a check in a forked child, so limits it lowers (file size, memory) and
// hangs it might hit stay there. The child reports through its exit status.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <fstream>
#include <string>

// True when `check` returned true in the child within `seconds`.
template <class Check>
bool PassesInChild(Check check, int seconds = 20) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        alarm(static_cast<unsigned>(seconds));  // a hang ends the child, failing the check
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Files may grow to `bytes` in this process; a write beyond fails (no signal).
inline void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Memory of this process: StartPeak() starts the peak afresh and gives the
// resident bytes now; PeakBytes() the highest since, both from /proc.
inline std::int64_t StatusFigure(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == field && status >> word) return std::stoll(word) * 1024;
    return -1;
}
inline std::int64_t StartPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusFigure("VmRSS:");
}
inline std::int64_t PeakBytes() { return StatusFigure("VmHWM:"); }
