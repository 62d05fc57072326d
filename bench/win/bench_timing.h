// The clock, the polling and the median the Windows benchmarks share.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// Milliseconds on the performance counter.
inline double Now() {
    LARGE_INTEGER f{}, c{};
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Polls about every millisecond, handling the benchmark's own messages between: coarser steps
// would round the short figures up, by as much as a small program takes to start.
inline bool PollUntil(const std::function<bool()>& pred, double timeoutMs) {
    const double deadline = Now() + timeoutMs;
    while (!pred()) {
        if (Now() > deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

// The middle value, the upper one of the two middles for an even count; 0 for none.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace bench
