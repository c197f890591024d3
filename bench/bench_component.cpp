// The editor component alone, QScintilla 2.13 against Scintilla 5's own Qt widget: the processor
// time each workload costs until the widget has nothing left to do, in a window set up as the
// editor sets up its view. Built twice from this one source (bench_component_qscintilla and
// bench_component_scintilla5), since the two hold Scintilla under the same names; either one,
// run without arguments, runs every workload in a fresh child of each and prints both columns.
//
// Environment: QUILLET_BENCH_COMPONENT (workloads, comma separated; default all),
// QUILLET_BENCH_SCALE (factor on every size and count; default 1).

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMap>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <unistd.h>

#ifdef QUILLET_SCINTILLA5
#include <ScintillaEditBase.h>
using Widget = ScintillaEditBase;
#else
#include <Qsci/qsciscintilla.h>
// Gives QScintilla Scintilla 5's way of sending; its SCI_* names come as members of the base class.
class Widget : public QsciScintilla
{
public:
    intptr_t send(unsigned int message, uintptr_t w = 0, intptr_t l = 0) const
    {
        return SendScintilla(message, static_cast<unsigned long>(w), static_cast<long>(l));
    }
};
#endif

namespace {

const QStringList AllWorkloads = {"wrap50", "wrap50u", "lines7",  "lines7w", "line5",
                                  "line5u", "line20",  "line100", "undo"};
constexpr double CapSeconds = 120;
const char* const Lines7 = "7 MiB lines: open (ms)";
const char* const Lines7Wrapped = "7 MiB lines, wrapped: open (ms)";

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double scale()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("QUILLET_BENCH_SCALE").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Words of 1-10 letters; `lines`: line ends every 40-120 characters, else one line; `accented`: a
// two-byte letter every 30-90 bytes. Always the same text for the same arguments.
std::string makeText(double bytes, bool accented, bool lines)
{
    static const char* const Accents[] = {"é", "ü", "ñ", "à", "ö", "ç", "è", "å"};
    uint32_t state = 2463534242u;
    const auto next = [&state](uint32_t below) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state % below;
    };
    std::string text;
    text.reserve(static_cast<size_t>(bytes) + 4);
    uint32_t lineLeft = 40 + next(81), wordLeft = 1 + next(10);
    size_t accentAt = 30 + next(61);
    while (text.size() < bytes) {
        if (lines && lineLeft-- == 0) {
            text += "\r\n";
            lineLeft = 40 + next(81);
        } else if (wordLeft-- == 0) {
            text += ' ';
            wordLeft = 1 + next(10);
        } else if (accented && text.size() >= accentAt) {
            text += Accents[next(8)];
            accentAt = text.size() + 30 + next(61);
        } else {
            text += static_cast<char>('a' + next(26));
        }
    }
    return text;
}

// A figure whose processor time passes the cap is printed as "> cap" and ends the child.
std::atomic<double> capStart{-1};
std::atomic<const char*> capLabel{""};

void watchCap()
{
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const double start = capStart;
        if (start >= 0 && cpuMs() - start > CapSeconds * 1e3) {
            std::printf("%s\t> %.0f s\n", capLabel.load(), CapSeconds);
            std::fflush(stdout);
            _exit(0);
        }
    }
}

class Bench : public Widget
{
public:
    Bench()
    {
        send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<intptr_t>("Liberation Mono"));
        send(SCI_STYLESETSIZE, STYLE_DEFAULT, 10);
#ifdef SCI_STYLESETCHECKMONOSPACED
        send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
#endif
        send(SCI_STYLECLEARALL);
        for (int margin = 0; margin < 5; ++margin)
            send(SCI_SETMARGINWIDTHN, margin, 0);
        // The caret blinks only while at rest is measured: on a long line each blink can cost more
        // than the quiet stretch that tells idle, and its cost is the at-rest figure's to report.
        m_caretPeriod = send(SCI_GETCARETPERIOD);
        send(SCI_SETCARETPERIOD, 0);
        resize(800, 600);
        show();
        activateWindow();
        QCoreApplication::processEvents();
        setFocus();
        settle();
    }

    // Paints, then runs the event loop in 50 ms slices until four in a row each used under 5 ms; the
    // processor time when that quiet stretch began.
    double settle()
    {
        viewport()->repaint();
        double quietSince = cpuMs();
        for (int quiet = 0; quiet < 4;) {
            const double before = cpuMs();
            runEventLoopFor(50);
            if (cpuMs() - before >= 5)
                quiet = 0;
            else if (quiet++ == 0)
                quietSince = before;
        }
        return quietSince;
    }

    template <typename Action> void measure(const char* label, Action action)
    {
        capLabel = label;
        const double start = cpuMs();
        capStart = start;
        action();
        const double end = settle();
        capStart = -1;
        std::printf("%s\t%.1f\n", label, end - start);
        std::fflush(stdout);
    }

    // A document as the editor makes one, filled unwrapped, then wrapped when asked.
    void fill(const std::string& text, bool wrap)
    {
        const intptr_t document =
            send(SCI_CREATEDOCUMENT, 0, SC_DOCUMENTOPTION_STYLES_NONE | SC_DOCUMENTOPTION_TEXT_LARGE);
        send(SCI_SETDOCPOINTER, 0, document);
        send(SCI_RELEASEDOCUMENT, 0, document);
        send(SCI_SETCODEPAGE, SC_CP_UTF8);
        send(SCI_APPENDTEXT, text.size(), reinterpret_cast<intptr_t>(text.data()));
        if (wrap) {
            send(SCI_SETWRAPMODE, SC_WRAP_WORD);
            send(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
        }
        if (send(SCI_GETLENGTH) != static_cast<intptr_t>(text.size()))
            qFatal("the text did not go in whole");
    }

    void open(const char* label, const std::string& text, bool wrap)
    {
        measure(label, [&] { fill(text, wrap); });
    }

    // One letter typed at the start or the end of the text, moved there beforehand.
    void key(const char* label, bool atEnd)
    {
        send(atEnd ? SCI_DOCUMENTEND : SCI_DOCUMENTSTART);
        settle();
        const intptr_t length = send(SCI_GETLENGTH);
        measure(label, [this] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(this, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(this, &release);
        });
        if (send(SCI_GETLENGTH) != length + 1)
            qFatal("the key was not typed");
    }

    void rest(const char* label)
    {
        send(SCI_SETCARETPERIOD, m_caretPeriod);
        const double start = cpuMs();
        runEventLoopFor(3000);
        send(SCI_SETCARETPERIOD, 0);
        std::printf("%s\t%.2f\n", label, (cpuMs() - start) / 30.0);
        std::fflush(stdout);
    }

    // Replaces one character in `count` places of one undo action, then undoes it.
    void undo(const char* label, double bytes, double count)
    {
        fill(makeText(bytes, false, false), false);
        send(SCI_SETMODEVENTMASK, 0);
        const intptr_t places = static_cast<intptr_t>(count);
        const intptr_t step = send(SCI_GETLENGTH) / places;
        send(SCI_BEGINUNDOACTION);
        for (intptr_t place = 0; place < places; ++place) {
            send(SCI_SETTARGETRANGE, place * step, place * step + 1);
            send(SCI_REPLACETARGET, 1, reinterpret_cast<intptr_t>("Z"));
        }
        send(SCI_ENDUNDOACTION);
        const intptr_t lastPlace = (places - 1) * step;
        if (send(SCI_GETCHARAT, 0) != 'Z' || send(SCI_GETCHARAT, lastPlace) != 'Z')
            qFatal("the replacements were not made");
        settle();
        measure(label, [this] { send(SCI_UNDO); });
        if (send(SCI_GETCHARAT, 0) == 'Z' || send(SCI_GETCHARAT, lastPlace) == 'Z')
            qFatal("the replacements were not undone");
    }

private:
    intptr_t m_caretPeriod = 0;
};

int child(int argc, char** argv, const QString& workload)
{
    QApplication app(argc, argv);
    std::thread(watchCap).detach();
    Bench bench;
    const double s = scale(), MB = 1e6 * s, MiB = 1048576.0 * s;
    if (workload == "wrap50") {
        bench.open("50 MB lines, wrapped: open (ms)", makeText(50 * MB, false, true), true);
    } else if (workload == "wrap50u") {
        bench.open("50 MB accented lines, wrapped: open (ms)", makeText(50 * MB, true, true), true);
    } else if (workload == "lines7") {
        bench.open(Lines7, makeText(7 * MiB, false, true), false);
    } else if (workload == "lines7w") {
        bench.open(Lines7Wrapped, makeText(7 * MiB, false, true), true);
    } else if (workload == "line5" || workload == "line5u") {
        const bool accented = workload == "line5u";
        const std::string name = accented ? "5 MiB accented line: " : "5 MiB line: ";
        bench.open((name + "open (ms)").c_str(), makeText(5 * MiB, accented, false), false);
        bench.rest((name + "at rest (% of a core over 3 s)").c_str());
        bench.key((name + "key at end (ms)").c_str(), true);
        bench.key((name + "key at start (ms)").c_str(), false);
    } else if (workload == "line20") {
        bench.open("20 MiB line: open (ms)", makeText(20 * MiB, false, false), false);
    } else if (workload == "line100") {
        bench.open("100 MiB line: open (ms)", makeText(100 * MiB, false, false), false);
        bench.key("100 MiB line: key at end (ms)", true);
    } else if (workload == "undo") {
        bench.undo("3 MB line: undo of 1,000,000 replacements (ms)", 3 * MB, 1e6 * s);
    } else {
        std::fprintf(stderr, "unknown workload %s\n", qPrintable(workload));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    QStringList workloads = qEnvironmentVariable("QUILLET_BENCH_COMPONENT").split(',', Qt::SkipEmptyParts);
    if (workloads.isEmpty())
        workloads = AllWorkloads;
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList programs = {dir + "/bench_component_qscintilla", dir + "/bench_component_scintilla5"};
    QStringList labels;
    QMap<QString, QStringList> figures; // label: one figure per program
    const auto put = [&](const QString& label, int column, const QString& figure) {
        if (!labels.contains(label)) {
            labels.append(label);
            figures[label] = QStringList{"-", "-"};
        }
        figures[label][column] = figure;
    };

    for (const QString& workload : workloads) {
        for (int column = 0; column < 2; ++column) {
            if (!QFileInfo(programs[column]).isExecutable()) {
                put(workload, column, "not built");
                continue;
            }
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (!env.contains("QT_QPA_PLATFORM"))
                env.insert("QT_QPA_PLATFORM", "offscreen");
            process.setProcessEnvironment(env);
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(programs[column], {"--child", workload.trimmed()});
            process.waitForFinished(-1);
            const QString output = QString::fromUtf8(process.readAllStandardOutput());
            for (const QString& line : output.split('\n', Qt::SkipEmptyParts))
                put(line.section('\t', 0, 0), column, line.section('\t', 1));
            if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
                put(workload + " (failed)", column, "failed");
        }
    }
    if (figures.contains(Lines7) && figures.contains(Lines7Wrapped)) {
        const QString ratio = "7 MiB lines: wrapped / unwrapped";
        for (int column = 0; column < 2; ++column) {
            bool plainOk = false, wrappedOk = false;
            const double plain = figures[Lines7][column].toDouble(&plainOk);
            const double wrapped = figures[Lines7Wrapped][column].toDouble(&wrappedOk);
            put(ratio, column, plainOk && wrappedOk ? QString::number(wrapped / plain, 'f', 1) : "-");
        }
        labels.move(labels.indexOf(ratio), labels.indexOf(Lines7Wrapped) + 1);
    }

    std::printf("Processor time until idle, sizes x %g\n%-52s %14s %14s\n", scale(), "workload", "QScintilla",
                "Scintilla 5");
    for (const QString& label : labels)
        std::printf("%-52s %14s %14s\n", qPrintable(label), qPrintable(figures[label][0]),
                    qPrintable(figures[label][1]));
    return 0;
}
