// Saving text files: line-break conversion that changes no other byte (also across buffer and
// piece boundaries), saves that fail without harming the old file, permissions, symbolic links,
// backup names.

#include "core/commanderror.h"
#include "documents/filesave.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <QCoreApplication>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

Q_DECLARE_METATYPE(LineEnds)

namespace {

// The conversion done the plainest way, byte by byte, to check the real one against.
QByteArray reference(QByteArrayView text, LineEnds ends)
{
    if (ends == LineEnds::AsIs)
        return text.toByteArray();
    const QByteArray terminator = ends == LineEnds::Crlf ? "\r\n" : ends == LineEnds::Lf ? "\n" : "\r";
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += terminator;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Every byte value, then random binary runs, some of them thick with CR and LF.
QByteArray mixedBytes(qsizetype minimumSize, quint32 seed)
{
    QByteArray text;
    for (int b = 0; b < 256; ++b)
        text += char(b);
    QRandomGenerator random(seed);
    static const char breaks[] = {'\r', '\n', '\r', '\n', 'x', '\0', char(0xC3), char(0xFF)};
    while (text.size() < minimumSize) {
        const int length = random.bounded(1, 5000);
        const bool dense = random.bounded(2) == 0;
        for (int i = 0; i < length; ++i)
            text += dense ? breaks[random.bounded(8)] : char(random.bounded(256));
    }
    return text;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct stat statOf(const QString& path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}
uid_t ownerOf(const QString& path)
{
    return statOf(path).st_uid;
}
gid_t groupOf(const QString& path)
{
    return statOf(path).st_gid;
}
nlink_t linksOf(const QString& path)
{
    return statOf(path).st_nlink;
}

// Saves with the process's file-size limit at 64 KiB, so a large write fails halfway.
QString saveUnderSizeLimit(const QString& path, const QByteArray& text);

// The variable that makes this program one save run as another user (see main).
const char* const SaveAsUserVariable = "QUILLET_TEST_SAVE_AS_USER";

// An ordinary user, made for the test and removed after it.
class TestUser
{
public:
    uid_t uid = 0;
    gid_t gid = 0;

    TestUser()
    {
        QProcess::execute("/usr/sbin/useradd", {"--no-create-home", "--shell", "/usr/sbin/nologin", Name});
        if (const passwd* entry = ::getpwnam(Name)) {
            uid = entry->pw_uid;
            gid = entry->pw_gid;
        }
    }
    ~TestUser() { QProcess::execute("/usr/sbin/userdel", {Name}); }
    TestUser(const TestUser&) = delete;
    TestUser& operator=(const TestUser&) = delete;
    bool isValid() const { return uid != 0; }

private:
    static constexpr const char* Name = "quilletsaver";
};

mode_t modeOf(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Saves and returns the error text, or an empty string when the save succeeded.
QString saveError(const QString& path, const QByteArray& text, LineEnds ends = LineEnds::AsIs)
{
    try {
        writeTextFile(path, text, ends);
    } catch (const CommandError& error) {
        return error.message();
    }
    return QString();
}

QString saveUnderSizeLimit(const QString& path, const QByteArray& text)
{
    struct rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const QString error = saveError(path, text, LineEnds::Crlf);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return error;
}

} // namespace

class TestFileSave : public QObject
{
    Q_OBJECT

private slots:
    void conversionExamples_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LineEnds>("ends");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray sample = "a\r\n\r\nb\r\n";
        QTest::newRow("to LF") << sample << LineEnds::Lf << QByteArray("a\n\nb\n");
        QTest::newRow("to CR") << sample << LineEnds::Cr << QByteArray("a\r\rb\r");
        QTest::newRow("CR LF kept") << sample << LineEnds::Crlf << sample;
        QTest::newRow("LF CR is two breaks") << QByteArray("\n\r") << LineEnds::Crlf << QByteArray("\r\n\r\n");
        QTest::newRow("CR CR LF is two breaks") << QByteArray("\r\r\n") << LineEnds::Lf << QByteArray("\n\n");
        QTest::newRow("lone CR at the end") << QByteArray("a\r") << LineEnds::Crlf << QByteArray("a\r\n");
        QTest::newRow("lone LF at the start") << QByteArray("\na") << LineEnds::Cr << QByteArray("\ra");
        QTest::newRow("as is keeps mixed breaks")
            << QByteArray("a\rb\nc\r\n\n\r") << LineEnds::AsIs << QByteArray("a\rb\nc\r\n\n\r");
        QTest::newRow("no breaks") << QByteArray("plain", 5) << LineEnds::Crlf << QByteArray("plain");
        QTest::newRow("NUL and invalid UTF-8 around breaks")
            << QByteArray("\0\r\xff\n\xc3", 5) << LineEnds::Crlf << QByteArray("\0\r\n\xff\r\n\xc3", 7);
        QTest::newRow("empty") << QByteArray() << LineEnds::Crlf << QByteArray();
    }

    void conversionExamples()
    {
        QFETCH(QByteArray, text);
        QFETCH(LineEnds, ends);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeTextFile(path, text, ends);
        QCOMPARE(fileBytes(path), expected);
    }

    void everyByteValue_data()
    {
        QTest::addColumn<LineEnds>("ends");
        QTest::newRow("CR LF") << LineEnds::Crlf;
        QTest::newRow("LF") << LineEnds::Lf;
        QTest::newRow("CR") << LineEnds::Cr;
        QTest::newRow("as is") << LineEnds::AsIs;
    }

    void everyByteValue()
    {
        QFETCH(LineEnds, ends);
        const QByteArray text = mixedBytes(300'000, 20240601);
        QTemporaryDir dir;
        const QString path = dir.filePath("bytes.bin");
        writeTextFile(path, text, ends);
        QCOMPARE(fileBytes(path), reference(text, ends));
    }

    // Texts longer than the buffer: random ones put breaks of every kind at varied places around
    // each boundary; the built ones put each kind of break exactly across the first boundary
    // (nothing before it changes length, so input and output boundaries coincide).
    void longerThanTheBuffer_data() { everyByteValue_data(); }

    void longerThanTheBuffer()
    {
        QFETCH(LineEnds, ends);
        constexpr qsizetype chunk = LineEndWriter::DefaultBufferSize;
        QList<QByteArray> texts{mixedBytes(8 * chunk + 123, 7)};
        for (const QByteArray& lineBreak :
             {QByteArray("\r\n"), QByteArray("\r"), QByteArray("\n"), QByteArray("\n\r")}) {
            for (qsizetype before : {chunk - 2, chunk - 1, chunk})
                texts << QByteArray(before, 'x') + lineBreak + QByteArray(chunk + 10, 'y') + lineBreak;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("long.bin");
        for (const QByteArray& text : texts) {
            writeTextFile(path, text, ends);
            const QByteArray written = fileBytes(path);
            const QByteArray expected = reference(text, ends);
            QCOMPARE(written.size(), expected.size());
            QVERIFY(written == expected);
        }
    }

    // Pieces split at every place, with tiny buffers, so every break straddles some boundary.
    void piecesSplitAnywhere()
    {
        const QByteArray text("\r\n\r\rx\n\n\r\n\ry\r\n\r");
        const QList<LineEnds> modes{LineEnds::Crlf, LineEnds::Lf, LineEnds::Cr, LineEnds::AsIs};
        for (LineEnds ends : modes) {
            const QByteArray expected = reference(text, ends);
            for (qsizetype bufferSize : {1, 2, 3, 5, 64}) {
                for (qsizetype a = 0; a <= text.size(); ++a) {
                    for (qsizetype b = a; b <= text.size(); ++b) {
                        QBuffer out;
                        out.open(QIODevice::WriteOnly);
                        LineEndWriter writer(out, ends, bufferSize);
                        QVERIFY(writer.write(QByteArrayView(text).first(a)));
                        QVERIFY(writer.write(QByteArrayView(text).sliced(a, b - a)));
                        QVERIFY(writer.write(QByteArrayView(text).sliced(b)));
                        QVERIFY(writer.finish());
                        QVERIFY2(out.data() == expected, qPrintable(QStringLiteral("mode %1, buffer %2, split %3/%4")
                                                                        .arg(int(ends))
                                                                        .arg(bufferSize)
                                                                        .arg(a)
                                                                        .arg(b)));
                    }
                }
                QBuffer out;
                out.open(QIODevice::WriteOnly);
                LineEndWriter writer(out, ends, bufferSize);
                for (char c : text)
                    QVERIFY(writer.write(QByteArrayView(&c, 1)));
                QVERIFY(writer.finish());
                QCOMPARE(out.data(), expected);
            }
        }
    }

    void writerReportsDeviceFailure()
    {
        QBuffer closed;
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
        LineEndWriter writer(closed, LineEnds::Crlf, 4);
        const bool wrote = writer.write("abc\ndef\n") && writer.finish();
        QVERIFY(!wrote);
        QVERIFY(!writer.write("more"));
    }

    // A file its owner may write, in a folder they may not: written where it is. As root, an
    // ordinary user made for the test saves through setpriv.
    void ownerSavesTheirFileInAFolderTheyCannotWrite()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("locked");
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + "/notes.txt";
        QVERIFY(putFile(path, "old bytes"));
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            const QString error = saveError(path, "new bytes");
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(error, QString());
            QCOMPARE(fileBytes(path), QByteArray("new bytes"));
            return;
        }
        const TestUser user;
        QVERIFY2(user.isValid(), "useradd failed");
        // The user may pass through the test's folders and write only the file and the
        // temporary folder.
        const QString tmp = dir.filePath("tmp");
        QVERIFY(QDir().mkdir(tmp));
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(tmp).constData(), 01777), 0);
        QCOMPARE(::chown(QFile::encodeName(path).constData(), user.uid, user.gid), 0);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(SaveAsUserVariable, path);
        environment.insert("TMPDIR", tmp);
        child.setProcessEnvironment(environment);
        child.start("/usr/bin/setpriv",
                    {QStringLiteral("--reuid=%1").arg(user.uid), QStringLiteral("--regid=%1").arg(user.gid),
                     "--clear-groups", "--", QCoreApplication::applicationFilePath()});
        QVERIFY(child.waitForFinished(30000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardError().constData());
        QCOMPARE(fileBytes(path), QByteArray("saved by its owner"));
        QCOMPARE(ownerOf(path), user.uid);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"notes.txt"});
        QCOMPARE(QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // The superuser saving another user's file leaves it theirs.
    void ownerAndGroupKeptWhenRootSavesAnotherUsersFile()
    {
        if (::geteuid() != 0)
            QSKIP("Not running as root: only root can save a file another user owns.");
        QTemporaryDir dir;
        const QString path = dir.filePath("theirs.txt");
        QVERIFY(putFile(path, "old"));
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        writeTextFile(path, "new", LineEnds::AsIs);
        QCOMPARE(fileBytes(path), QByteArray("new"));
        QCOMPARE(ownerOf(path), uid_t(65534));
        QCOMPARE(groupOf(path), gid_t(65534));
        QCOMPARE(modeOf(path), mode_t(0640));
    }

    // A shorter text written in place leaves nothing of the old one after it.
    void aShorterTextWrittenInPlaceLeavesNoTail_data()
    {
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("hard-linked file") << false;
        QTest::newRow("another user's file saved by root") << true;
    }
    void aShorterTextWrittenInPlaceLeavesNoTail()
    {
        QFETCH(bool, otherOwner);
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        QVERIFY(putFile(path, "a much longer old text\r\nof two lines\r\n"));
        if (!otherOwner)
            QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("other")).constData()),
                     0);
        else if (::geteuid() != 0)
            QSKIP("Not running as root: only root can save a file another user owns.");
        else
            QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        QVERIFY(writesInPlace(path));
        // Converted line breaks make the written text longer than the one handed over.
        writeTextFile(path, "new\ntext", LineEnds::Crlf);
        QCOMPARE(fileBytes(path), QByteArray("new\r\ntext"));
    }

    void hardLinksAndExtendedAttributesKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        const QString second = dir.filePath("second name.txt");
        QVERIFY(putFile(path, "old text"));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()), 0);
        writeTextFile(path, "new\ntext", LineEnds::Crlf);
        QCOMPARE(fileBytes(second), QByteArray("new\r\ntext"));
        QCOMPARE(linksOf(path), nlink_t(2));

        const QString tagged = dir.filePath("tagged.txt");
        QVERIFY(putFile(tagged, "old"));
        const QByteArray name = QFile::encodeName(tagged);
        if (::setxattr(name.constData(), "user.quillet", "kept", 4, 0) != 0)
            QSKIP("This file system keeps no user extended attributes; the hard-link case ran.");
        writeTextFile(tagged, "new", LineEnds::AsIs);
        char value[16] = {};
        QCOMPARE(::getxattr(name.constData(), "user.quillet", value, sizeof value), ssize_t(4));
        QCOMPARE(QByteArray(value), QByteArray("kept"));
        QCOMPARE(fileBytes(tagged), QByteArray("new"));
    }

    // A write in place that fails halfway puts the old content back and reports the failure.
    void failedWriteInPlaceRestoresTheOldContent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        QVERIFY(putFile(path, "old bytes"));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("other")).constData()), 0);
        const QString tmp = dir.filePath("tmp");
        QVERIFY(QDir().mkdir(tmp));
        const QByteArray savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp));
        const QString error = saveUnderSizeLimit(path, QByteArray(1 << 20, 'n'));
        qputenv("TMPDIR", savedTmp);

        const QString head = QStringLiteral("Cannot save file \"%1\".\n").arg(path);
        QVERIFY2(error.startsWith(head) && error.size() > head.size(), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("old bytes"));
        QCOMPARE(linksOf(path), nlink_t(2));
        QCOMPARE(QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(QDir(keptContentFolder()).entryList(QDir::Files), QStringList());
    }

    // A write in place cut off by the end of its process (here the file-size limit's signal)
    // leaves the old content where the next start offers it, and nothing in the temporary folder;
    // putting it back restores the file, forgetting it keeps the file as it is.
    void anInterruptedWriteInPlaceKeepsTheOldContent_data()
    {
        QTest::addColumn<bool>("putBack");
        QTest::newRow("put back") << true;
        QTest::newRow("forgotten") << false;
    }
    void anInterruptedWriteInPlaceKeepsTheOldContent()
    {
        QFETCH(bool, putBack);
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        const QByteArray old(200 << 10, 'o');
        QVERIFY(putFile(path, old));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("other")).constData()), 0);
        const QString tmp = dir.filePath("tmp");
        QVERIFY(QDir().mkdir(tmp));
        const QByteArray savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp));
        const pid_t child = fork();
        if (child == 0) {
            struct rlimit limit = {0, 0};
            ::setrlimit(RLIMIT_CORE, &limit);
            limit = {300 << 10, 300 << 10};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
            saveError(path, QByteArray(600 << 10, 'n'));
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        qputenv("TMPDIR", savedTmp);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        QVERIFY(fileBytes(path).startsWith("nnn"));
        QCOMPARE(QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

        const QList<InterruptedSave> saves = interruptedSaves();
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves[0].path, path);
        if (putBack)
            restoreKeptContent(saves[0]);
        else
            discardKeptContent(saves[0]);
        QCOMPARE(fileBytes(path) == old, putBack);
        QCOMPARE(linksOf(path), nlink_t(2));
        QVERIFY(interruptedSaves().isEmpty());
        QCOMPARE(QDir(keptContentFolder()).entryList(QDir::Files), QStringList());
    }

    void folderThatIsAFileFails()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath("plain.txt");
        QVERIFY(putFile(plain, "old bytes"));
        const QString path = plain + "/child.txt";
        const QString error = saveError(path, "new bytes");
        const QString head = QStringLiteral("Cannot save file \"%1\".\n").arg(path);
        QVERIFY2(error.startsWith(head) && error.size() > head.size(), qPrintable(error));
        QCOMPARE(fileBytes(plain), QByteArray("old bytes"));
    }

    // A write that fails halfway (file-size limit) must leave the old file and no stray temp file.
    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        QVERIFY(putFile(path, "old bytes"));
        const QString error = saveUnderSizeLimit(path, QByteArray(1 << 20, 'n'));

        const QString head = QStringLiteral("Cannot save file \"%1\".\n").arg(path);
        QVERIFY2(error.startsWith(head) && error.size() > head.size(), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("old bytes"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"notes.txt"});
    }

    void readOnlyFileRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("locked.txt");
        QVERIFY(putFile(path, "old bytes"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        QCOMPARE(saveError(path, "new bytes"),
                 QStringLiteral("Cannot save file \"%1\".\nThe file is read-only.").arg(path));
        QCOMPARE(fileBytes(path), QByteArray("old bytes"));
        QCOMPARE(modeOf(path), mode_t(0444));
    }

    void notARegularFileRefused()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath("pipe");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
        QVERIFY(!saveError(pipe, "text").isEmpty());
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());

        const QString folder = dir.filePath("folder");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(!saveError(folder, "text").isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void permissions()
    {
        QTemporaryDir dir;
        for (mode_t mode : {mode_t(0640), mode_t(0600), mode_t(0755)}) {
            const QString path = dir.filePath(QStringLiteral("kept%1.txt").arg(mode, 0, 8));
            QVERIFY(putFile(path, "old"));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
            writeTextFile(path, "new", LineEnds::Crlf);
            QCOMPARE(fileBytes(path), QByteArray("new"));
            QCOMPARE(modeOf(path), mode);
        }
        // A new file gets the usual permissions, not the temporary file's private ones.
        const mode_t mask = ::umask(022);
        const QString fresh = dir.filePath("fresh.txt");
        writeTextFile(fresh, "new", LineEnds::Crlf);
        ::umask(mask);
        QCOMPARE(modeOf(fresh), mode_t(0644));
    }

    void symbolicLinks()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkdir(dir.filePath("sub")));
        const QString target = dir.filePath("target.txt");
        QVERIFY(putFile(target, "old"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        // link -> sub/hop -> ../target.txt: relative links, two levels.
        QVERIFY(::symlink("../target.txt", QFile::encodeName(dir.filePath("sub/hop")).constData()) == 0);
        QVERIFY(::symlink("sub/hop", QFile::encodeName(dir.filePath("link")).constData()) == 0);

        writeTextFile(dir.filePath("link"), "a\nb", LineEnds::Crlf);
        QCOMPARE(fileBytes(target), QByteArray("a\r\nb"));
        QCOMPARE(modeOf(target), mode_t(0640));
        QCOMPARE(QFileInfo(dir.filePath("link")).symLinkTarget(), dir.filePath("sub/hop"));
        QCOMPARE(QFileInfo(dir.filePath("sub/hop")).symLinkTarget(), target);

        // A dangling link: the file it names is created and the link stays.
        const QString dangling = dir.filePath("dangling");
        QVERIFY(::symlink("sub/missing.txt", QFile::encodeName(dangling).constData()) == 0);
        writeTextFile(dangling, "x", LineEnds::AsIs);
        QVERIFY(QFileInfo(dangling).isSymLink());
        QCOMPARE(fileBytes(dir.filePath("sub/missing.txt")), QByteArray("x"));

        // A loop of links is refused and left alone.
        QVERIFY(::symlink("loopB", QFile::encodeName(dir.filePath("loopA")).constData()) == 0);
        QVERIFY(::symlink("loopA", QFile::encodeName(dir.filePath("loopB")).constData()) == 0);
        QVERIFY(saveError(dir.filePath("loopA"), "x").endsWith(QStringLiteral("Too many levels of symbolic links.")));
        QVERIFY(QFileInfo(dir.filePath("loopA")).isSymLink());
        QVERIFY(QFileInfo(dir.filePath("loopB")).isSymLink());
    }

    // Whatever stands where a backup goes (a link to another file, another user's file) is
    // replaced by the program's own new file, never written through.
    void backupReplacesWhatStandsInItsPlace()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("notes.txt");
        QVERIFY(putFile(saved, "new text"));
        const QString victim = dir.filePath("victim");
        QVERIFY(putFile(victim, "precious"));
        const QString backup = dir.filePath("notes.BAK");
        QVERIFY(::symlink("victim", QFile::encodeName(backup).constData()) == 0);
        copyFileSafely(saved, backup);
        QCOMPARE(fileBytes(victim), QByteArray("precious"));
        QVERIFY(!QFileInfo(backup).isSymLink());
        QCOMPARE(fileBytes(backup), QByteArray("new text"));

        // A link to where nothing is yet creates nothing there.
        QVERIFY(QFile::remove(backup));
        QVERIFY(::symlink("planted", QFile::encodeName(backup).constData()) == 0);
        copyFileSafely(saved, backup);
        QVERIFY(!QFileInfo::exists(dir.filePath("planted")));
        QCOMPARE(fileBytes(backup), QByteArray("new text"));

        // A second name for the old backup keeps the old content.
        QCOMPARE(::link(QFile::encodeName(backup).constData(), QFile::encodeName(victim + "2").constData()), 0);
        QVERIFY(putFile(saved, "newer text"));
        copyFileSafely(saved, backup);
        QCOMPARE(fileBytes(victim + "2"), QByteArray("new text"));
        QCOMPARE(fileBytes(backup), QByteArray("newer text"));
        QCOMPARE(linksOf(backup), nlink_t(1));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"notes.BAK", "notes.txt", "victim", "victim2"}));
    }

    void backupAndItsFolderAreNoMoreReadableThanTheFile()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("program/");
        const mode_t mask = ::umask(022);
        const auto restoreMask = qScopeGuard([mask] { ::umask(mask); });
        createBackupFolder(program);
        QCOMPARE(modeOf(program + "Backup"), mode_t(0700));
        // An existing folder is the user's to set up.
        QVERIFY(::chmod(QFile::encodeName(program + "Backup").constData(), 0750) == 0);
        createBackupFolder(program);
        QCOMPARE(modeOf(program + "Backup"), mode_t(0750));

        const QString backup = program + "Backup/notes.BAK";
        for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0755), mode_t(0400)}) {
            const QString saved = dir.filePath(QStringLiteral("notes%1.txt").arg(mode, 0, 8));
            QVERIFY(putFile(saved, "text"));
            QVERIFY(::chmod(QFile::encodeName(saved).constData(), mode) == 0);
            copyFileSafely(saved, backup);
            QCOMPARE(modeOf(backup), mode);
            QCOMPARE(fileBytes(backup), QByteArray("text"));
        }
    }

    // A backup that fails says why, as the system puts it, and where; the old backup stays.
    void failedBackupSaysWhy()
    {
        const auto backupError = [](const QString& from, const QString& to) {
            try {
                copyFileSafely(from, to);
            } catch (const CommandError& e) {
                return e.message();
            }
            return QString();
        };
        QTemporaryDir dir;
        const QString saved = dir.filePath("big.txt");
        QVERIFY(putFile(saved, QByteArray(256 * 1024, 'x')));
        const QString nowhere = dir.filePath("missing/big.BAK");
        QCOMPARE(backupError(saved, nowhere),
                 QStringLiteral("Cannot save file \"%1\".\n%2").arg(nowhere, qt_error_string(ENOENT)));

        if (::geteuid() != 0)
            QSKIP("Not running as root: a small full file system cannot be mounted.");
        const QString small = dir.filePath("small");
        QVERIFY(QDir().mkdir(small));
        if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("No tmpfs can be mounted here.");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(small).constData(), MNT_DETACH); });
        const QString backup = small + "/big.BAK";
        QVERIFY(putFile(backup, "old backup"));
        QCOMPARE(backupError(saved, backup),
                 QStringLiteral("Cannot save file \"%1\".\n%2").arg(backup, qt_error_string(ENOSPC)));
        QCOMPARE(fileBytes(backup), QByteArray("old backup"));
        QCOMPARE(QDir(small).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"big.BAK"});
    }

    void backupNames_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension") << "/work/notes.txt"
                                   << "/prog/Backup/notes.BAK";
        QTest::newRow("no extension") << "/work/notes"
                                      << "/prog/Backup/notes.BAK";
        QTest::newRow("only the last extension") << "/work/archive.tar.gz"
                                                 << "/prog/Backup/archive.tar.BAK";
        QTest::newRow("leading dot is no extension") << "/home/u/.bashrc"
                                                     << "/prog/Backup/.bashrc.BAK";
        QTest::newRow("dotted folder") << "/a.b/c.d/readme"
                                       << "/prog/Backup/readme.BAK";
        QTest::newRow("relative") << "notes.TXT"
                                  << "/prog/Backup/notes.BAK";
    }

    void backupNames()
    {
        QFETCH(QString, saved);
        QFETCH(QString, expected);
        QCOMPARE(backupFileName(QStringLiteral("/prog/"), saved), expected);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Files written in place keep their old content here, never in the user's own state folder.
    QTemporaryDir state;
    setKeptContentFolder(state.filePath("kept"));
    // Started again as another user by the ownership case: one save, then out.
    if (qEnvironmentVariableIsSet(SaveAsUserVariable)) {
        const QString error = saveError(qEnvironmentVariable(SaveAsUserVariable), "saved by its owner");
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return error.isEmpty() ? 0 : 1;
    }
    TestFileSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filesave.moc"
