// velmora-guard PID PROGRAM [ARGUMENT...]
//
// Started by Velmora (process PID) with its end of their channel on descriptor 3; PROGRAM
// and its arguments start Velmora again after a crash.
#include "Guard.hpp"
#include "GuardLog.hpp"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/prctl.h>
#include <unistd.h>

using namespace velmora;

int main(int argc, char** argv) {
    ProcessId velmora = 0;
    const std::string_view pidText = argc > 1 ? argv[1] : "";
    const auto parsed = std::from_chars(pidText.data(), pidText.data() + pidText.size(), velmora);
    if (argc < 3 || parsed.ec != std::errc{} || velmora <= 0 ||
        ::fcntl(guard::kChannelDescriptor, F_SETFD, FD_CLOEXEC) != 0) {
        std::fputs("velmora-guard is started by velmora, not by hand\n", stderr);
        return 2;
    }
    // A new session: Ctrl+C in Velmora's terminal, or the terminal closing, leaves the
    // guard running. Not dumpable: no other process of the account can stop it with a
    // debugger or read what it knows.
    ::setsid();
    ::prctl(PR_SET_DUMPABLE, 0);
    // A write to an X server that has gone must not end the guard before it can say so.
    ::signal(SIGPIPE, SIG_IGN);
    GuardLog log;
    const auto windows = WindowIconifier::connect(log);
    if (!windows) {
        return 1;
    }
    Guard guard(log, *windows, {argv + 2, argv + argc}, velmora, guard::kChannelDescriptor);
    return guard.run();
}
