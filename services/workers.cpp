// Worker processes: a batch of numbered items done by copies of this process
// as it is now, each item's result bytes handed back here in item order. How
// the copies are made is the system's side (workers_posix.cpp,
// workers_windows.cpp).
#include <algorithm>
#include <thread>
#include <vector>

#include "services_internal.h"

namespace svc {

void RunHere(int items, const WorkerItem& work, WorkerResults& results, std::vector<bool>& done) {
    for (int item = 0; item < items; ++item) {
        results[static_cast<std::size_t>(item)] = work(item);
        done[static_cast<std::size_t>(item)] = true;
    }
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
    WorkerResults results(static_cast<std::size_t>(items));
    std::vector<bool> done(static_cast<std::size_t>(items), false);
    bool whole = true;
    if (workers == 1) RunHere(items, work, results, done);
    else whole = RunInWorkers(workers, items, work, results, done);
    for (int item = 0; item < items; ++item) {
        if (done[static_cast<std::size_t>(item)]) result(item, results[static_cast<std::size_t>(item)]);
        else whole = false;
    }
    return whole ? 1 : 0;
}
