#pragma once
// When a card (a spot and a hand class) is asked again: SuperMemo's SM-2
// (P. A. Wozniak, 1990), with one short relearning step after a lapse so a
// missed hand comes back within the session.
//
// Quality q (0..5) after each answer:
//   q >= 3: n = 0 -> I = 1 day; n = 1 -> I = 6 days; else I = I * EF rounded up; n += 1
//   q < 3:  n = 0, I = 1 day (the repetitions start again), due after the relearning step
//   then EF' = max(1.3, EF + 0.1 - (5 - q) * (0.08 + (5 - q) * 0.02)).

#include <cstdint>

namespace trainer {

inline constexpr double kStartEasiness = 2.5;
inline constexpr double kLeastEasiness = 1.3;
inline constexpr int64_t kDaySeconds = 24 * 60 * 60;
inline constexpr int64_t kRelearnSeconds = 60;

struct Schedule {
    int repetitions = 0;
    double easiness = kStartEasiness;
    int intervalDays = 0;
    int64_t due = 0;  // seconds since the epoch
    bool seen = false;

    friend bool operator==(const Schedule&, const Schedule&) = default;
};

// A right answer within this many seconds counts as sure (quality 5);
// slower as right after some thought (4); a wrong one as a lapse (1).
inline constexpr double kSureSeconds = 4.0;
int qualityOf(bool right, double seconds);

// The schedule after an answer of quality 0..5 given at now.
Schedule review(const Schedule& schedule, int quality, int64_t now);

}  // namespace trainer
