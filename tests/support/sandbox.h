#pragma once
// A test's own folder: a temporary directory that is TMPDIR (so store files land there), the
// working directory (so a file written under a relative name lands there too) and, below it,
// XDG_STATE_HOME (so what the program keeps of its state stays there too). All are put back when
// the sandbox goes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class Sandbox
{
public:
    Sandbox()
        : m_savedTmpDir(qgetenv("TMPDIR")), m_savedStateHome(qgetenv("XDG_STATE_HOME")),
          m_savedCurrentDir(QDir::currentPath())
    {
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("state"))));
        QDir::setCurrent(m_dir.path());
    }
    ~Sandbox()
    {
        restore("TMPDIR", m_savedTmpDir);
        restore("XDG_STATE_HOME", m_savedStateHome);
        QDir::setCurrent(m_savedCurrentDir);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    bool isValid() const { return m_dir.isValid() && QDir::currentPath() == QDir(m_dir.path()).absolutePath(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    static void restore(const char* variable, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    }

    QTemporaryDir m_dir;
    QByteArray m_savedTmpDir;
    QByteArray m_savedStateHome;
    QString m_savedCurrentDir;
};
