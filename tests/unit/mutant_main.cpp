// Runs the commit harness on a deliberately broken commit; exits 0 only if the harness
// finds the damage, so a harness without teeth fails the build's tests.
#include <cstdio>

#include "commit_harness.h"

int main() {
    harness::Counts total;
    for (const harness::Change& change : harness::SampleChanges()) {
        total += harness::RunFaultInjection(change);
        total += harness::RunCrashes(change);
    }
    std::printf("%s\n", total.Summary().c_str());
    const bool caught = total.Lost + total.Corrupted + total.Unreadable > 0;
    std::printf(caught ? "mutant caught\n" : "mutant NOT caught\n");
    return caught ? 0 : 1;
}
