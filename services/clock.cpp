// The clock: local wall-clock dates, a millisecond counter and a sleep, all of
// which tests can switch to a manual clock.
#include <chrono>
#include <thread>

#include "services_internal.h"
#include "testing.h"

namespace svc {
namespace {

struct ClockState {
    bool manual = false;              // tests drive the clock
    std::int64_t manualMs = 0;        // manual ElapsedMilliseconds
    std::int64_t dateBase = 0;        // manual Date_Now at dateBaseMs
    std::int64_t dateBaseMs = 0;      // manualMs when the date was set
    bool dateSet = false;             // Testing_SetDateNow was called
    std::int64_t totalDelayed = 0;    // Delay total while manual
};
ClockState timing;

}  // namespace

void ResetClock() { timing = ClockState{}; }

std::int64_t LocalSeconds(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    // The local fields read back as if they were UTC: no zone shift when formatting.
    const std::chrono::sys_days day{std::chrono::year{local.tm_year + 1900} /
                                    std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)} /
                                    std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    return static_cast<std::int64_t>(day.time_since_epoch().count()) * 86400 + local.tm_hour * 3600 +
           local.tm_min * 60 + local.tm_sec;
}

namespace {
std::int64_t RealMilliseconds() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

void AppendTwo(std::string& out, int v) {
    out += static_cast<char>('0' + (v / 10) % 10);
    out += static_cast<char>('0' + v % 10);
}

bool At(const std::string& s, std::size_t i, const char* word) {
    for (std::size_t k = 0; word[k]; ++k) {
        if (i + k >= s.size()) return false;
        char c = s[i + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[k]) return false;
    }
    return true;
}
}  // namespace
}  // namespace svc

using namespace svc;

std::int64_t Date_Now() {
    if (timing.dateSet) return timing.dateBase + (ElapsedMilliseconds() - timing.dateBaseMs) / 1000;
    return LocalSeconds(std::time(nullptr));
}

std::string Date_Format(const std::string& mask, std::int64_t date) {
    const std::time_t t = static_cast<std::time_t>(date);
    std::tm tm{};
    if (!gmtime_r(&t, &tm)) return mask;
    const int year = tm.tm_year + 1900;
    std::string out;
    for (std::size_t i = 0; i < mask.size();) {
        if (mask[i] == '%') {
            if (At(mask, i + 1, "yyyy")) {
                out += std::to_string(year);
                i += 5;
                continue;
            }
            struct {
                const char* word;
                int value;
            } const fields[] = {{"yy", year % 100}, {"mm", tm.tm_mon + 1}, {"dd", tm.tm_mday},
                                {"hh", tm.tm_hour}, {"ii", tm.tm_min},     {"ss", tm.tm_sec}};
            bool done = false;
            for (const auto& f : fields) {
                if (At(mask, i + 1, f.word)) {
                    AppendTwo(out, f.value);
                    i += 3;
                    done = true;
                    break;
                }
            }
            if (done) continue;
        }
        out += mask[i++];
    }
    return out;
}

std::int64_t ElapsedMilliseconds() { return timing.manual ? timing.manualMs : RealMilliseconds(); }

void Delay(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (timing.manual) {
        timing.manualMs += milliseconds;
        timing.totalDelayed += milliseconds;
        return;
    }
    // Zero still gives up the processor, as the frame loop expects.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    if (milliseconds == 0) std::this_thread::yield();
}

void Testing_UseManualClock(bool manual) {
    if (manual && !timing.manual) {
        timing.manualMs = RealMilliseconds();
        timing.totalDelayed = 0;
    }
    timing.manual = manual;
}

void Testing_AdvanceClock(int milliseconds) {
    if (timing.manual && milliseconds > 0) timing.manualMs += milliseconds;
}

void Testing_SetDateNow(std::int64_t date) {
    timing.dateSet = true;
    timing.dateBase = date;
    timing.dateBaseMs = ElapsedMilliseconds();
}

std::int64_t Testing_TotalDelayed() { return timing.totalDelayed; }
