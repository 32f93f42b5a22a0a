// The page window showing pages made to be hostile: nested tables (each level doubles what
// laying them out costs, and twenty thousand of them overflow the stack), deep nesting of
// divisions and lists, long lists and tables, and plain pages of a megabyte (the most the
// window reads). Each page is shown in a child process of its own, on Qt's offscreen
// platform unless another is asked for, and laid out as for the screen; its time and the
// child's peak memory are reported (the goal: every page shown in under a second).

#include "ChildRun.h"
#include "platform/PageViewer.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace {

using Page = std::function<QByteArray()>;

QByteArray Nested(const QByteArray& open, const QByteArray& close, int levels) {
    return open.repeated(levels) + "x" + close.repeated(levels);
}

// Times the page window's showing the page, not the making of the application and file.
bool Show(const QByteArray& bytes, std::chrono::steady_clock::time_point& start) {
    int argc = 1;
    char name[] = "bench_pageviewer";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.htm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return false;
    }
    file.close();
    platform::PageViewer viewer;
    start = std::chrono::steady_clock::now();
    if (!viewer.ShowPage(path)) {
        return false;
    }
    viewer.grab(); // lays the page out, as showing it on the screen does
    return true;
}

void BM_ShowPage(benchmark::State& state, const Page& page) {
    const QByteArray bytes = page();
    state.counters["page_KB"] = static_cast<double>(bytes.size()) / 1024.0;
    bench::MeasureInChild(state, [&bytes](auto& start) { return Show(bytes, start); });
}

// Each page three times, each in a child of its own.
#define CORVANE_PAGE(name, ...)                                                                    \
    BENCHMARK_CAPTURE(BM_ShowPage, name, __VA_ARGS__)                                              \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(3)

const QByteArray kTable = "<table><tr><td>";
const QByteArray kTableEnd = "</td></tr></table>";

CORVANE_PAGE(22_nested_tables, [] { return Nested(kTable, kTableEnd, 22); });
CORVANE_PAGE(20000_nested_tables, [] { return Nested(kTable, kTableEnd, 20000); });
CORVANE_PAGE(100000_nested_divs, [] { return Nested("<div>", "</div>", 100000); });
CORVANE_PAGE(50000_nested_lists, [] { return Nested("<ul><li>", "</li></ul>", 50000); });
CORVANE_PAGE(12_nested_tables, [] { return Nested(kTable, kTableEnd, 12); });
CORVANE_PAGE(list_of_50000_items,
             [] { return "<ul>" + QByteArray("<li>item").repeated(50000) + "</ul>"; });
CORVANE_PAGE(table_of_40000_rows, [] {
    return "<table>" + QByteArray("<tr><td>a</td><td>b</td></tr>").repeated(40000) + "</table>";
});
CORVANE_PAGE(megabyte_of_words, [] { return QByteArray("word ").repeated(200000); });
CORVANE_PAGE(megabyte_of_paragraphs,
             [] { return QByteArray("<p>Some words in a paragraph.</p>").repeated(30000); });

} // namespace

int main(int argc, char** argv) {
    // Set before any child makes its application.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
