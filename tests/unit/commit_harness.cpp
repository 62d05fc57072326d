// Drives the menu file commit through every injected failure, crash and power loss.
#include "commit_harness.h"

#include <sstream>

#include "menufile/menu_file.h"
#include "tests/support/memory_file_system.h"

namespace harness {
namespace {

using platform::MemoryFileSystem;

const std::string kPath = "C:\\menus\\tools.tvl";

MemoryFileSystem Disk(const std::string& content) {
    MemoryFileSystem fs;
    fs.Put(kPath, content);
    return fs;
}

bool OnlyMenuLeft(const MemoryFileSystem& fs) {
    return fs.Paths() == std::vector<std::string>{kPath};
}

// A disk after a crash: what a reader sees before recovery, then recovery must bring the
// menu file back to the old or the new content and leave nothing behind.
void CheckRecovered(MemoryFileSystem fs, const Change& change, bool mustBeNew, Counts& counts) {
    ++counts.CrashStates;
    std::string seen;
    if (menufile::ReadCommittedMenu(fs, kPath, seen) != menufile::FileError::None ||
        (seen != change.Old && seen != change.New)) {
        ++counts.Unreadable;
    }
    ++counts.Runs;
    if (menufile::RecoverMenuFile(fs, kPath) != menufile::MenuError::None) {
        ++counts.Corrupted;
        return;
    }
    std::optional<std::string> content = fs.Get(kPath);
    if (!content || (*content != change.Old && *content != change.New)) {
        ++counts.Corrupted;
    } else if (mustBeNew && *content != change.New) {
        ++counts.Lost;
    }
    if (!OnlyMenuLeft(fs)) {
        ++counts.Leftovers;
    }
}

void CheckEveryPowerLoss(const MemoryFileSystem& fs, const Change& change, bool mustBeNew,
                         Counts& counts) {
    for (const MemoryFileSystem& state : fs.PowerLossStates()) {
        CheckRecovered(state, change, mustBeNew, counts);
    }
}

// A second crash, at every call of the recovery of `crashed`.
void CrashDuringRecovery(const MemoryFileSystem& crashed, const Change& change, Counts& counts) {
    for (int k = 1;; ++k) {
        MemoryFileSystem fs = crashed;
        fs.CrashAt(k, /*tornWrite=*/true);
        ++counts.Runs;
        try {
            (void)menufile::RecoverMenuFile(fs, kPath);
            return;  // recovery ran through before call k
        } catch (const MemoryFileSystem::SimulatedCrash&) {
        }
        CheckEveryPowerLoss(fs, change, false, counts);
    }
}

std::string Picture(char fill, std::size_t size) {
    std::string p(size, fill);
    // Picture bytes that look like line ends, markers and quotes must not confuse anything.
    p += "\r\n<START\r\n\n\r<START TVL> \"\r\n<";
    return p;
}

std::string Menu(const std::string& picture, const std::vector<menufile::MenuItem>& items) {
    std::string s = picture + "\r\n<START TVL>\r\n\"USERDEF\"\r\n1,\"MS Sans Serif\",8.25,0,0\r\n";
    for (const auto& item : items) {
        s += menufile::FormatItemLine(item);
    }
    return s;
}

}  // namespace

Counts& Counts::operator+=(const Counts& o) {
    Runs += o.Runs;
    Faults += o.Faults;
    CrashStates += o.CrashStates;
    Lost += o.Lost;
    Corrupted += o.Corrupted;
    Leftovers += o.Leftovers;
    Unreadable += o.Unreadable;
    return *this;
}

std::string Counts::Summary() const {
    std::ostringstream s;
    s << "runs " << Runs << ", faults " << Faults << ", crash states " << CrashStates
      << ", lost " << Lost << ", corrupted " << Corrupted << ", leftovers " << Leftovers
      << ", unreadable " << Unreadable;
    return s.str();
}

std::vector<Change> SampleChanges() {
    using menufile::MenuItem;
    const MenuItem notepad{"Notepad", "C:\\windows\\notepad.exe", "", "", "", "0"};
    const MenuItem docs{"Letters, 2026", "C:\\docs\\", "", "C:\\docs\\", "", "0"};
    const MenuItem web{"Web", "http://example.invalid/", "", "", "shell32.dll", "13"};
    const std::string picture = Picture('B', 300);
    const std::string a = Menu(picture, {notepad, docs});
    const std::string b = Menu(picture, {notepad, MenuItem::Separator(), docs, web});
    const std::string c = Menu(picture, {docs, notepad});  // same length as a
    const std::string d = Menu(Picture('I', 700), {notepad});
    return {{a, b}, {b, a}, {a, c}, {a, d}};
}

Counts RunFaultInjection(const Change& change) {
    Counts counts;
    for (bool fromThenOn : {false, true}) {
        for (int k = 1;; ++k) {
            MemoryFileSystem fs = Disk(change.Old);
            fs.FailAt(k, fromThenOn);
            ++counts.Runs;
            menufile::MenuError result = menufile::CommitMenuFile(fs, kPath, change.Old, change.New);
            const bool reached = fs.Calls() >= k;
            if (reached) {
                ++counts.Faults;
            }
            fs.ClearFaults();
            if (result == menufile::MenuError::None) {
                if (fs.Get(kPath) != change.New) {
                    ++counts.Lost;
                }
                CheckEveryPowerLoss(fs, change, true, counts);
            } else {
                // A single failure must leave the previous content in place at once.
                if (!fromThenOn && fs.Get(kPath) != change.Old) {
                    ++counts.Lost;
                }
                CheckEveryPowerLoss(fs, change, false, counts);
            }
            if (!reached) {
                break;
            }
        }
    }
    return counts;
}

Counts RunCrashes(const Change& change) {
    Counts counts;
    for (bool torn : {false, true}) {
        for (int k = 1;; ++k) {
            MemoryFileSystem fs = Disk(change.Old);
            fs.CrashAt(k, torn);
            ++counts.Runs;
            try {
                menufile::MenuError result = menufile::CommitMenuFile(fs, kPath, change.Old, change.New);
                // Ran through: a power loss now must keep a reported success.
                fs.ClearFaults();
                CheckEveryPowerLoss(fs, change, result == menufile::MenuError::None, counts);
                break;
            } catch (const MemoryFileSystem::SimulatedCrash&) {
            }
            for (const MemoryFileSystem& state : fs.PowerLossStates()) {
                CheckRecovered(state, change, false, counts);
                CrashDuringRecovery(state, change, counts);
            }
        }
    }
    return counts;
}

}  // namespace harness
