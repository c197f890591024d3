// The ClipBook with large templates: a template of 100,000 items (names of 20 bytes, texts of
// 200) chosen in the box until it is shown, adding one item to it (which rewrites its file), and
// a File Template of 10,000 paths chosen until shown. Medians of QUILLET_BENCH_RUNS (5) runs, in
// the offscreen platform unless another is chosen, and the peak memory.

#include "benchsupport.h"
#include "commands/clipbookstore.h"
#include "core/commanderror.h"
#include "windows/clipbookwindow.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

class BenchHost : public ClipBookHost
{
public:
    explicit BenchHost(QString dir) : m_dir(std::move(dir)) {}
    QString programDirectory() override { return m_dir; }
    QString selectedDocumentText() override { return {}; }
    void replaceDocumentSelection(const QString&) override {}
    void insertBeforeDocumentSelection(const QString&) override {}
    void openDocument(const QString&) override {}
    void openDocuments(const QStringList&) override {}
    QStringList chooseFilesToAdd() override { return {}; }
    TemplateNameDialog* namingDialog() override { return nullptr; }

private:
    QString m_dir;
};

QString text(int length, int seed)
{
    QString s(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        s[i] = QChar(u'a' + (seed * 7 + i * 13) % 26);
    return s;
}

// Milliseconds from `work` until the window has painted what it changed.
double timed(QWidget& window, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    window.repaint();
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchPrompts prompts;
    Prompts::install(&prompts);
    QTemporaryDir dir;
    const QString programDir = dir.path() + QLatin1Char('/');
    const int runs = benchRuns();

    clipbook::Items big;
    for (int i = 0; i < 100'000; ++i)
        big.append(text(20, i), text(200, i + 1));
    QStringList paths;
    for (int i = 0; i < 10'000; ++i)
        paths << QStringLiteral("/home/someone/projects/folder%1/file%2.txt").arg(i % 97).arg(i);
    try {
        clipbook::saveTemplate(programDir, QStringLiteral("Big"), big);
        clipbook::saveTemplate(programDir, QStringLiteral("Small"), {});
        clipbook::saveFileTemplate(programDir, QStringLiteral("Files"), paths);
        clipbook::saveFileTemplate(programDir, QStringLiteral("None"), {});
    } catch (const CommandError& error) {
        std::printf("error: %s\n", qPrintable(error.message()));
        return 1;
    }

    BenchHost host(programDir);
    ClipBookWindow window;
    window.setHost(&host);
    window.resize(400, 500);
    window.showPage(ClipBookWindow::Page::Items, false);
    QApplication::processEvents();

    std::vector<double> load, add, files;
    for (int run = 0; run < runs; ++run) {
        window.setPage(ClipBookWindow::Page::Items);
        window.templateBox()->setEditText(QStringLiteral("Small"));
        QApplication::processEvents();
        load.push_back(timed(window, [&] { window.templateBox()->setEditText(QStringLiteral("Big")); }));
        if (window.items().size() < big.size()) { // each run adds one
            std::printf("CHECK FAILED: %lld items shown\n", qint64(window.items().size()));
            return 1;
        }
        window.itemNameField()->setText(QStringLiteral("added"));
        window.itemTextField()->setText(text(200, run));
        add.push_back(timed(window, [&] { window.newItem(); }));

        window.setPage(ClipBookWindow::Page::Files);
        window.fileBox()->setEditText(QStringLiteral("None"));
        emit window.fileBox()->lineEdit()->editingFinished();
        QApplication::processEvents();
        files.push_back(timed(window, [&] {
            window.fileBox()->setEditText(QStringLiteral("Files"));
            emit window.fileBox()->lineEdit()->editingFinished();
        }));
        if (window.filePaths().size() != paths.size()) {
            std::printf("CHECK FAILED: %lld paths shown\n", qint64(window.filePaths().size()));
            return 1;
        }
    }
    if (!prompts.last.isEmpty()) {
        std::printf("error: %s\n", qPrintable(prompts.last));
        return 1;
    }
    std::printf("template of 100,000 items chosen until shown, median of %d: %.1f ms (limit 500)\n", runs,
                median(load));
    std::printf("one item added to it, file rewritten, median of %d: %.1f ms (limit 100)\n", runs, median(add));
    std::printf("File Template of 10,000 paths chosen until shown, median of %d: %.1f ms (limit 100)\n", runs,
                median(files));
    std::printf("peak memory (VmHWM): %s\n", qPrintable(peakMemory()));
    Prompts::install(nullptr);
    return 0;
}
