// Stopping from outside. SIGINT and SIGTERM set a flag the program reads
// once per frame, in place of SDL's handlers, which turn both into a quit
// event that the editor (ignoring its close box) drains unread.
#include <csignal>

#include "services_internal.h"

namespace {

volatile std::sig_atomic_t caught = 0;  // the signal that asked the program to end, 0 none

extern "C" void OnStopSignal(int signal) {
    if (caught != 0) {
        // Asked again: the orderly end is not coming, so end as the signal would.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caught = signal;
}

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

void Signals_Catch() {
    // Read when SDL starts its event subsystem, so this comes first.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    caught = 0;
    Handle(SIGINT, OnStopSignal);
    Handle(SIGTERM, OnStopSignal);
}

int Signals_Caught() { return caught; }

void Signals_Release() {
    Handle(SIGINT, SIG_DFL);
    Handle(SIGTERM, SIG_DFL);
    caught = 0;
}

void Signals_EndAsCaught() {
    const int signal = caught;
    if (signal == 0) return;
    Signals_Release();
    std::raise(signal);
}
