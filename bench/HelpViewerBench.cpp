// The help viewer showing help files of a few megabytes, in the shapes that cost it most:
// many one-line topics, many keywords, many short paragraphs, one line without a blank.
// Each is opened at its contents page and at its keyword index, at 1, 2 and 4 MB (the most
// the viewer reads), so the times show whether showing a file grows with its size.
// Runs on Qt's offscreen platform unless another is asked for.

#include "platform/HelpFile.h"
#include "platform/HelpViewer.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>

namespace {

using Shape = std::function<QByteArray(int)>;

QByteArray Topics(int n) {
    return "== " + QByteArray::number(n) + "\n";
}
QByteArray Keywords(int n) {
    QByteArray text = "== Topic " + QByteArray::number(n) + "\nkeywords: ";
    for (int k = 0; k < 20; ++k)
        text += "k" + QByteArray::number(n) + "_" + QByteArray::number(k) + ",";
    return text + "\nBody.\n";
}
QByteArray Paragraphs(int) {
    return "x\n\n";
}
QByteArray OneLine(int) {
    return "y";
}

// A help file of about bytes made of shape's pieces after a title line.
QString Write(const QTemporaryDir& folder, const Shape& shape, qint64 bytes) {
    QByteArray text = "= Benchmark\n";
    for (int n = 0; text.size() + 64 < bytes; ++n)
        text += shape(n);
    const QString path = folder.filePath(QStringLiteral("Bench.hlp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return path;
}

void Open(benchmark::State& state, const Shape& shape, platform::HelpCommand command) {
    QTemporaryDir folder;
    const qint64 bytes =
        std::min<qint64>(state.range(0) * 1024 * 1024 - 1024, platform::HelpFile::kMaxBytes);
    const QString path = Write(folder, shape, bytes);
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the help file");
        return;
    }
    platform::HelpViewer viewer;
    for (auto _ : state) {
        viewer.Open(path, command);
        QCoreApplication::processEvents(); // lay out and paint the first screen
    }
    state.SetComplexityN(bytes);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void Register(const char* name, Shape shape) {
    for (const auto& [how, command] : {std::pair{"Contents", platform::HelpCommand::Contents},
                                       std::pair{"Index", platform::HelpCommand::KeywordSearch}}) {
        benchmark::RegisterBenchmark(
            (std::string(name) + "/" + how).c_str(),
            [shape, command = command](benchmark::State& state) { Open(state, shape, command); })
            ->Arg(1)
            ->Arg(2)
            ->Arg(4)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Register("Topics", Topics);
    Register("Keywords", Keywords);
    Register("Paragraphs", Paragraphs);
    Register("OneLine", OneLine);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
