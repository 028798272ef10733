// Keelwright: the command line, start-up, frames until "Quit", then the end.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app.h"
#include "command_line.h"
#include "services.h"

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails as on a full disk and the save
    // keeps the old file, where the signal's default would end us mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLineOutcome command = HandleCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    std::fputs(command.out.c_str(), stdout);
    std::fputs(command.err.c_str(), stderr);
    if (command.exitCode != kStartEditor) return command.exitCode;

    // Ctrl+C and kill end the frame loop in an orderly way.
    Signals_Catch();
    // The command line's factor wins over the environment's; neither: the largest that fits.
    const int scale = command.scale != 0 ? command.scale : ScaleFromEnvironment(std::getenv("KEELWRIGHT_SCALE"));
    if (!StartEditor(scale)) {
        std::fprintf(stderr, "keelwright: %s\n", editor.StartupFailure.c_str());
        FinalCleanup();
        return 1;
    }
    RunFrameLoop();
    EndEditor();
    // Stopped by a signal: the shell (or timeout) sees it ended by that signal.
    Signals_EndAsCaught();
    return 0;
}
