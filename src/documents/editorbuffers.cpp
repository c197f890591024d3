#include "documents/editorbuffers.h"

#include "app/commanderror.h"
#include "documents/richexporter.h"

#include <QDir>
#include <QFile>

namespace {

QString fileError(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\".\n%3").arg(what, QDir::toNativeSeparators(path), reason);
}

} // namespace

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file.errorString()));
    const qint64 size = file.size();
    if (size > TRichExporter::TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));
    QByteArray bytes;
    if (size > 0 && !file.isSequential()) {
        bytes.resize(size);
        qint64 got = 0;
        while (got < size) {
            const qint64 n = file.read(bytes.data() + got, size - got);
            if (n < 0)
                throw CommandError(fileError(QStringLiteral("Cannot read file"), path, file.errorString()));
            if (n == 0)
                break;
            got += n;
        }
        bytes.truncate(got);
    } else {
        bytes = file.readAll();
    }
    return bytes;
}

EditorBuffers::~EditorBuffers()
{
    forgetAll();
}

void EditorBuffers::stash(const QString& storeFile)
{
    writeFile(storeFile);
    forget(storeFile);
    m_kept.insert(storeFile, m_editor.takeBuffer());
}

void EditorBuffers::show(const QString& storeFile)
{
    if (void* buffer = m_kept.take(storeFile)) {
        m_editor.showBuffer(buffer);
        return;
    }
    loadFile(storeFile);
}

void EditorBuffers::forget(const QString& storeFile)
{
    if (void* buffer = m_kept.take(storeFile))
        m_editor.releaseBuffer(buffer);
}

void EditorBuffers::forgetAll()
{
    for (void* buffer : std::as_const(m_kept))
        m_editor.releaseBuffer(buffer);
    m_kept.clear();
}

void EditorBuffers::loadFile(const QString& path)
{
    // The file streams into a fresh buffer, so a failed read leaves the shown text as it was and
    // the text is never held twice in memory.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file.errorString()));
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (size > TRichExporter::TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));

    void* previous = m_editor.takeBuffer();
    try {
        m_editor.appendFromDevice(file, size);
    } catch (...) {
        m_editor.showBuffer(previous);
        throw;
    }
    m_editor.releaseBuffer(previous);
}

void EditorBuffers::writeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CommandError(fileError(QStringLiteral("Cannot create file"), path, file.errorString()));
    if (!m_editor.writeTo(file) || !file.flush())
        throw CommandError(fileError(QStringLiteral("Cannot write file"), path, file.errorString()));
    file.close();
}
