// Fault-injection and crash harness for the menu file commit.
#pragma once

#include <string>
#include <vector>

namespace harness {

struct Counts {
    long Runs = 0;         // commits and recoveries run
    long Faults = 0;       // injected failures that were reached
    long CrashStates = 0;  // disk states after a crash or power loss that were recovered
    long Lost = 0;         // a reported success not durable, or a failure that lost the old bytes
    long Corrupted = 0;    // a menu file that is neither the old nor the new content
    long Leftovers = 0;    // files left behind after recovery
    long Unreadable = 0;   // the reader's committed view was neither old nor new

    Counts& operator+=(const Counts& o);
    [[nodiscard]] std::string Summary() const;
};

struct Change {
    std::string Old;
    std::string New;
};

// Realistic changes: growing, shrinking, same length, with pictures full of line ends.
[[nodiscard]] std::vector<Change> SampleChanges();

// Fails the k-th file call once, then from the k-th call on, for k = 1, 2, ... until the
// commit runs through.
[[nodiscard]] Counts RunFaultInjection(const Change& change);

// Crashes at every call (and tears every write), checks every power-loss state, and crashes
// again at every call of the recovery; also a power loss after a successful commit.
[[nodiscard]] Counts RunCrashes(const Change& change);

}  // namespace harness
