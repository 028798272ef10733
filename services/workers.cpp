// Worker processes: a batch of numbered items done by copies of this process
// as it is now, each item's result bytes handed back here in item order. How
// the copies are made is the system's side (workers_posix.cpp,
// workers_windows.cpp).
#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include "services_internal.h"

namespace svc {

ResultsInOrder::ResultsInOrder(int items, const WorkerResult& result)
    : result_(result), waiting_(static_cast<std::size_t>(items)), arrived_(static_cast<std::size_t>(items), false) {}

void ResultsInOrder::Arrive(int item, std::vector<std::uint8_t> bytes) {
    const auto at = static_cast<std::size_t>(item);
    if (item < 0 || at >= arrived_.size() || arrived_[at]) return;
    waiting_[at] = std::move(bytes);
    arrived_[at] = true;
    // Every result whose earlier items are all in goes on now, so the caller
    // works on them while the workers go on.
    for (; next_ < arrived_.size() && arrived_[next_]; ++next_) Deliver(next_);
}

bool ResultsInOrder::Finish() {
    // An item that never came back holds up no later one.
    bool whole = true;
    for (; next_ < arrived_.size(); ++next_) {
        if (arrived_[next_]) Deliver(next_);
        else whole = false;
    }
    return whole;
}

void ResultsInOrder::Deliver(std::size_t item) {
    result_(static_cast<int>(item), waiting_[item]);
    waiting_[item] = {};  // handed on: its bytes are not kept to the end
}

void RunHere(int items, const WorkerItem& work, ResultsInOrder& results) {
    for (int item = 0; item < items; ++item) results.Arrive(item, work(item));
}

}  // namespace svc

using namespace svc;

int Workers_Available() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

int Workers_Run(int workers, int items, const WorkerItem& work, const WorkerResult& result) {
    if (items <= 0) return 1;
    workers = std::max(1, std::min(workers, items));
    ResultsInOrder results(items, result);
    bool whole = true;
    if (workers == 1) RunHere(items, work, results);
    else whole = RunInWorkers(workers, items, work, results);
    return results.Finish() && whole ? 1 : 0;
}
