// The program directory: the executable's folder only when it is the user's own and no system
// folder; otherwise the per-user data folder.

#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

class TestProgramDirectory : public QObject
{
    Q_OBJECT

private slots:
    void executableFolderServesOnlyWhenItIsTheUsersOwn_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("user");
        QTest::addColumn<bool>("serves");
        QTest::newRow("build tree") << "/home/ann/quillet/build" << true << 1000u << 1000u << true;
        QTest::newRow("portable copy") << "/media/ann/stick/Quillet" << true << 1000u << 1000u << true;
        QTest::newRow("root's own build tree") << "/root/quillet/build" << true << 0u << 0u << true;
        QTest::newRow("read-only") << "/home/ann/quillet/build" << false << 1000u << 1000u << false;
        QTest::newRow("another user's") << "/home/bob/quillet" << true << 1001u << 1000u << false;
        QTest::newRow("root's, for a user") << "/home/ann/shared" << true << 0u << 1000u << false;
        for (const char* system :
             {"/usr/bin", "/usr/local/bin", "/usr", "/bin", "/sbin", "/lib", "/lib64/x", "/libexec/q", "/opt/quillet",
              "/snap/quillet/12/bin", "/etc/quillet", "/var/lib/quillet"}) {
            QTest::newRow(system) << system << true << 1000u << 1000u << false;
            QTest::newRow(qPrintable(QStringLiteral("root, %1").arg(QLatin1String(system))))
                << system << true << 0u << 0u << false;
        }
        QTest::newRow("name that only looks like one") << "/home/usr/bin" << true << 1000u << 1000u << true;
        QTest::newRow("relative") << "build" << true << 1000u << 1000u << false;
    }

    void executableFolderServesOnlyWhenItIsTheUsersOwn()
    {
        QFETCH(QString, path);
        QFETCH(bool, writable);
        QFETCH(uint, owner);
        QFETCH(uint, user);
        QFETCH(bool, serves);
        QCOMPARE(platform::mayHoldProgramFiles(path, writable, owner, user), serves);
    }

    void realFoldersAreAskedOfTheFileSystem()
    {
        QTemporaryDir own;
        QVERIFY(platform::folderMayHoldProgramFiles(own.path()));
        QVERIFY(!platform::folderMayHoldProgramFiles(QStringLiteral("/usr/bin")));
        QVERIFY(!platform::folderMayHoldProgramFiles(own.filePath(QStringLiteral("missing"))));
        if (::geteuid() == 0) {
            QVERIFY(::chown(QFile::encodeName(own.path()).constData(), 65534, 65534) == 0);
            QVERIFY(!platform::folderMayHoldProgramFiles(own.path()));
        }

        // This test's own folder is a build tree: it is the program directory.
        QCOMPARE(platform::programDirectory(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    }

    // A copy of this program in a folder that is not the user's, even one the superuser may
    // write, keeps its files in the per-user data folder.
    void programInAnotherUsersFolderUsesTheDataFolder()
    {
        if (::geteuid() != 0)
            QSKIP("Not running as root: every folder this user may write is their own.");
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("installed"));
        const QString copy = folder + QStringLiteral("/tst_programdirectory");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(PrintVariable), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        child.setProcessEnvironment(environment);
        child.start(copy, {});
        QVERIFY(child.waitForFinished());
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), dir.filePath(QStringLiteral("data/Quillet/")));
    }

private:
    static constexpr const char* PrintVariable = "QUILLET_TEST_PRINT_PROGRAM_DIRECTORY";
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Started again from a copy by the case above: says which program directory it got.
    if (qEnvironmentVariableIsSet("QUILLET_TEST_PRINT_PROGRAM_DIRECTORY")) {
        std::fputs(qPrintable(platform::programDirectory()), stdout);
        return 0;
    }
    TestProgramDirectory test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_programdirectory.moc"
