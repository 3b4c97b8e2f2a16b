#include "tabulo/runtime/init_queue.h"

#include <vector>

namespace {
std::vector<TInitMethod>& queue() {
    static std::vector<TInitMethod> q;
    return q;
}
bool initsDone = false;
}  // namespace

void AddInit(TInitMethod method) { queue().push_back(method); }

void RemoveInits(const void* object) {
    for (auto& m : queue())
        if (m.Object == object) m.Code = nullptr;
}

void RunInits() {
    auto& q = queue();
    // Index loop: an init may build a child schema that queues more entries.
    for (std::size_t i = 0; i < q.size(); ++i) {
        const TInitMethod m = q[i];
        if (m.Code) m.Code(m.Object);
    }
    q.clear();
    initsDone = true;
}

bool InitsDone() { return initsDone; }
void SetInitsDone(bool done) { initsDone = done; }

int PendingInits() {
    int n = 0;
    for (const auto& m : queue()) n += m.Code != nullptr;
    return n;
}
