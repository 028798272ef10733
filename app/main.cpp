// Keelwright: the command line, start-up, frames until "Quit", then the end.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app.h"
#include "command_line.h"
#include "paths.h"
#include "services.h"
#include "user_workspace.h"

int main(int argc, char** argv) {
    Process_Prepare();
    std::vector<std::string> arguments = Process_Arguments(argc, argv);
    // Started with nothing (a double-click) where no launcher made the user's
    // workspace: the program makes it and works there.
    if (arguments.empty()) {
        const std::string workspace = Process_UserWorkspace();
        if (!workspace.empty() && PrepareUserWorkspace(workspace, ProgramDirectory())) arguments = {"--", workspace};
    }
    const CommandLineOutcome command = HandleCommandLine(arguments);
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
