// Worker processes on Windows: there is no fork, and a new process would
// start without the pictures and the design this one holds, so the items are
// done here, one after another. The results are the same bytes.
#include <vector>

#include "services_internal.h"

namespace svc {

bool RunInWorkers(int, int items, const WorkerItem& work, ResultsInOrder& results) {
    RunHere(items, work, results);
    return true;
}

}  // namespace svc
