// Word wrap of a 50 MB document whose lines (40 to 120 characters) hold an accented letter every
// 30 to 90 bytes, in a bare Scintilla 5 view (800x600, Liberation Mono 10, UTF-8, monospace check
// on, page layout cache): the processor time from turning word wrap on until every line is
// wrapped, once measured by QTextLayout alone and once with the table of monospace widths, each
// in a child process of its own. Fails only when the two wrap the text differently.
//
// Environment: QUILLET_BENCH_MB (document size in MB, default 50).

#include "editor/scintillameasuring.h"

#include "ScintillaEditBase.h"

#include <QApplication>
#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <ctime>

namespace {

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Lines of 40 to 120 characters of words, an accented letter every 30 to 90 bytes; the same
// text every time.
QByteArray accentedText(qint64 size)
{
    static const char* const words[] = {"the",  "quick", "brown", "fox",   "jumps",  "over", "lazy", "dog",  "and",
                                        "then", "some",  "more",  "words", "follow", "here", "text", "line", "wrap"};
    static const char* const accented[] = {"é", "ü", "ñ", "à", "ö", "ç", "ø", "å", "ê", "ß"};
    quint32 seed = 12345;
    const auto next = [&seed](quint32 below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    QByteArray text;
    text.reserve(size + 256);
    qint64 untilAccent = 30 + next(61);
    while (text.size() < size) {
        const qsizetype lineStart = text.size();
        const qsizetype length = 40 + next(81);
        while (text.size() - lineStart < length) {
            if (text.size() > lineStart)
                text += ' ';
            text += words[next(std::size(words))];
            if (text.size() >= untilAccent) {
                text += accented[next(std::size(accented))];
                untilAccent = text.size() + 30 + next(61);
            }
        }
        text += '\n';
    }
    return text;
}

// Loads the text into a fresh view, wraps it, and prints the processor seconds the wrap took
// and the display lines it made.
int wrapOnce(bool table, qint64 size)
{
    if (table)
        installMonospaceMeasuring();
    ScintillaEditBase editor;
    editor.resize(800, 600);
    editor.show();
    QApplication::processEvents();
    editor.send(SCI_SETCODEPAGE, SC_CP_UTF8);
    editor.send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<sptr_t>("Liberation Mono"));
    editor.send(SCI_STYLESETSIZE, STYLE_DEFAULT, 10);
    editor.send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
    editor.send(SCI_STYLECLEARALL);
    editor.send(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    const QByteArray text = accentedText(size);
    constexpr qsizetype slice = 1 << 20;
    for (qsizetype at = 0; at < text.size(); at += slice)
        editor.send(SCI_APPENDTEXT, uptr_t(std::min(slice, text.size() - at)),
                    reinterpret_cast<sptr_t>(text.constData() + at));
    QApplication::processEvents();
    const sptr_t lastLine = editor.send(SCI_GETLINECOUNT) - 1;

    const double start = processorSeconds();
    editor.send(SCI_SETWRAPMODE, SC_WRAP_WORD);
    editor.send(SCI_ENSUREVISIBLE, uptr_t(lastLine)); // wraps every line before it now
    const double seconds = processorSeconds() - start;

    const sptr_t displayLines =
        editor.send(SCI_VISIBLEFROMDOCLINE, uptr_t(lastLine)) + editor.send(SCI_WRAPCOUNT, uptr_t(lastLine));
    std::printf("%.2f %lld %lld\n", seconds, static_cast<long long>(displayLines),
                static_cast<long long>(lastLine + 1));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int mb = qEnvironmentVariableIntValue("QUILLET_BENCH_MB");
    const qint64 size = qint64(mb > 0 ? mb : 50) << 20;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 2)
        return wrapOnce(arguments[1] == QLatin1String("table"), size);

    QList<QByteArrayList> results;
    for (const char* mode : {"shaped", "table"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QApplication::applicationFilePath(), {QString::fromLatin1(mode)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the %s run failed\n", mode);
            return 1;
        }
        results.append(child.readAllStandardOutput().trimmed().split(' '));
        if (results.last().size() != 3)
            return 1;
    }
    std::printf("Word wrap of %lld MB (%s lines, %s display lines):\n", static_cast<long long>(size >> 20),
                results[0][2].constData(), results[0][1].constData());
    std::printf("  measured by QTextLayout   %8s s processor time\n", results[0][0].constData());
    std::printf("  monospace widths table    %8s s processor time\n", results[1][0].constData());
    if (results[0][1] != results[1][1]) {
        std::fprintf(stderr, "the table wrapped into %s display lines\n", results[1][1].constData());
        return 1;
    }
    return 0;
}
