// Stopping from outside, the Windows way. Ctrl+C or Ctrl+Break in the
// console, the console closed, and the user's session ending set the flag
// the program reads once per frame, as SIGINT and SIGTERM do elsewhere.
// Windows ends a process whose console closes once the handler returns, so
// the handler waits there for the orderly end.
#include "utf16_windows.h"

#include <atomic>
#include <csignal>

#include "services_internal.h"

namespace {

// Windows' own exit code for a program ended by Ctrl+C.
constexpr UINT kControlCExit = 0xC000013A;
// How long a closing console waits for the orderly end (Windows allows a few seconds).
constexpr DWORD kCloseWaitMilliseconds = 4500;

std::atomic<int> caught{0};  // the signal that asked the program to end, 0 none
HANDLE ended = nullptr;      // set once the orderly end is done

BOOL WINAPI OnConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    int none = 0;
    // Asked again: the orderly end is not coming, so Windows' default ends us.
    if (!caught.compare_exchange_strong(none, interrupt ? SIGINT : SIGTERM)) return FALSE;
    if (!interrupt && ended) WaitForSingleObject(ended, kCloseWaitMilliseconds);
    return TRUE;
}

// The session is ending: the window hears it before Windows ends the program.
void SDLCALL OnWindowMessage(void*, void* window, unsigned int message, Uint64, Sint64) {
    if (message != WM_QUERYENDSESSION && message != WM_ENDSESSION) return;
    int none = 0;
    if (caught.compare_exchange_strong(none, SIGTERM))
        ShutdownBlockReasonCreate(static_cast<HWND>(window), L"Keelwright is keeping your work");
}

}  // namespace

void Signals_Catch() {
    // Read when SDL starts its event subsystem, so this comes first.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    caught = 0;
    if (!ended) ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    SDL_SetWindowsMessageHook(OnWindowMessage, nullptr);
}

int Signals_Caught() { return caught; }

void Signals_Release() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    SDL_SetWindowsMessageHook(nullptr, nullptr);
    caught = 0;
}

void Signals_EndAsCaught() {
    if (caught == 0) return;
    // A handler waiting for the end may let Windows go on.
    if (ended) SetEvent(ended);
    Signals_Release();
    ExitProcess(kControlCExit);
}
