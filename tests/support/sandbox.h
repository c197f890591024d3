#pragma once
// A test's own folder: a temporary directory that is TMPDIR (so store files land there) and the
// working directory (so a file written under a relative name lands there too). Both are put back
// when the sandbox goes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class Sandbox
{
public:
    Sandbox() : m_savedTmpDir(qgetenv("TMPDIR")), m_savedCurrentDir(QDir::currentPath())
    {
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
        QDir::setCurrent(m_dir.path());
    }
    ~Sandbox()
    {
        if (m_savedTmpDir.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_savedTmpDir);
        QDir::setCurrent(m_savedCurrentDir);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    bool isValid() const { return m_dir.isValid() && QDir::currentPath() == QDir(m_dir.path()).absolutePath(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedTmpDir;
    QString m_savedCurrentDir;
};
