// The editor's list and menu-type changes on menus of 100 to 10,000 items, each with its
// journaled commit: in memory (the work itself) and on real files with fsync (what a user waits).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "editor/model/menu_editor.h"
#include "menufile/menu_file.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/posix_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

class NoIcons : public editor::IconSource {
public:
    editor::IconHandle Extract(const std::string&, int) override { return 0; }
    void Destroy(editor::IconHandle) override {}
};

std::string MenuOf(int items) {
    std::string s(3000, 'P');  // a picture of a few kilobytes
    s += "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    for (int i = 0; i < items; ++i) {
        const std::string n = std::to_string(i);
        s += menufile::FormatItemLine({"Program number " + n + ", with a comma",
                                       "C:\\Program Files\\Vendor " + n + "\\program.exe", "-x",
                                       "C:\\Work", "", "0"});
        if (i % 10 == 9) {
            s += menufile::FormatItemLine(menufile::MenuItem::Separator());
        }
    }
    return s;
}

enum Disk { kMemory = 0, kFiles = 1 };

// One menu on one kind of disk, put back to its first content before every timed change.
class Bench {
public:
    Bench(int items, Disk disk) : m_content(MenuOf(items)) {
        if (disk == kMemory) {
            m_fs = std::make_unique<platform::MemoryFileSystem>();
            m_path = "C:\\menus\\bench.tvl";
        } else {
            m_fs = std::make_unique<test_support::PosixFileSystem>();
            m_dir = std::filesystem::temp_directory_path() /
                    ("tvledit_bench_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
            std::filesystem::create_directories(m_dir);
            m_path = (m_dir / "bench menu.tvl").string();
        }
        m_editor =
            std::make_unique<editor::MenuEditor>(*m_fs, m_icons, test_support::Windows1252());
    }
    ~Bench() {
        m_editor.reset();
        if (!m_dir.empty()) {
            std::filesystem::remove_all(m_dir);
        }
    }

    void Reset(benchmark::State& state) {
        if (auto* memory = dynamic_cast<platform::MemoryFileSystem*>(m_fs.get())) {
            memory->Put(m_path, m_content);
        } else {
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << m_content;
        }
        if (m_editor->LoadEditorMenu(m_path) != editor::LoadStatus::Loaded) {
            state.SkipWithError("the menu does not load");
        }
    }

    editor::MenuEditor& Editor() { return *m_editor; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_editor->Rows().size()); }

private:
    std::string m_content;
    std::unique_ptr<menufile::FileSystem> m_fs;
    std::filesystem::path m_dir;
    std::string m_path;
    NoIcons m_icons;
    std::unique_ptr<editor::MenuEditor> m_editor;
};

using Operation = std::function<bool(editor::MenuEditor&, int count)>;

bool Written(const editor::EditResult& r) {
    return r.Status == editor::EditStatus::Written;
}

void Run(benchmark::State& state, const Operation& op) {
    Bench bench(static_cast<int>(state.range(0)), static_cast<Disk>(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        bench.Reset(state);
        const int count = bench.Count();
        state.ResumeTiming();
        if (!op(bench.Editor(), count)) {
            state.SkipWithError("the change was not written");
            break;
        }
    }
    state.SetLabel(state.range(1) == kMemory ? "memory" : "files+fsync");
}

void BM_Delete(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int n) { return Written(e.Delete(n / 2)); });
}
void BM_MoveUp(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int n) { return Written(e.MoveUp(n / 2)); });
}
void BM_MoveDown(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int n) { return Written(e.MoveDown(n / 2)); });
}
void BM_Separator(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int n) { return Written(e.Separator(n / 2)); });
}
void BM_DropTwoFiles(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int) {
        return e.DropFiles({{"notes", "C:\\docs\\notes.txt"}, {"Docs", "C:\\docs"}}).Added == 2;
    });
}
void BM_ChangeToDirectoryPointer(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int) { return Written(e.ChangeToDirectoryPointer()); });
}
void BM_LoadEditorMenu(benchmark::State& s) {
    Run(s, [](editor::MenuEditor& e, int) {
        return e.LoadEditorMenu(e.Path()) == editor::LoadStatus::Loaded;
    });
}

// Items (100, 1,000, 10,000) by disk; five repetitions, of which the median is the figure.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int disk : {kMemory, kFiles}) {
        for (int items : {100, 1000, 10000}) {
            b->Args({items, disk});
        }
    }
    b->ArgNames({"items", "disk"})
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->MinTime(0.2);
}

BENCHMARK(BM_Delete)->Apply(Sizes);
BENCHMARK(BM_MoveUp)->Apply(Sizes);
BENCHMARK(BM_MoveDown)->Apply(Sizes);
BENCHMARK(BM_Separator)->Apply(Sizes);
BENCHMARK(BM_DropTwoFiles)->Apply(Sizes);
BENCHMARK(BM_ChangeToDirectoryPointer)->Apply(Sizes);
BENCHMARK(BM_LoadEditorMenu)->Apply(Sizes);

}  // namespace
