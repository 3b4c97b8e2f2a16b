#include "scheduler.h"

#include <algorithm>
#include <cmath>

namespace trainer {

int qualityOf(bool right, double seconds) {
    if (!right) return 1;
    return seconds <= kSureSeconds ? 5 : 4;
}

Schedule review(const Schedule& schedule, int quality, int64_t now) {
    quality = std::clamp(quality, 0, 5);
    Schedule next = schedule;
    next.seen = true;
    const int miss = 5 - quality;
    next.easiness = std::max(kLeastEasiness, schedule.easiness + 0.1 - miss * (0.08 + miss * 0.02));
    if (quality < 3) {
        next.repetitions = 0;
        next.intervalDays = 1;
        next.due = now + kRelearnSeconds;
        return next;
    }
    if (schedule.repetitions == 0)
        next.intervalDays = 1;
    else if (schedule.repetitions == 1)
        next.intervalDays = 6;
    else  // by the factor held before this answer; a whole product is not rounded up
        next.intervalDays =
            static_cast<int>(std::ceil(schedule.intervalDays * schedule.easiness - 1e-9));
    next.repetitions = schedule.repetitions + 1;
    next.due = now + next.intervalDays * kDaySeconds;
    return next;
}

}  // namespace trainer
