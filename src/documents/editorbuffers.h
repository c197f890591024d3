#pragma once
// Moves document text between the editor and store files. Every stash writes the whole text to
// the document's store file, as bytes; the document's editor buffer is also kept alive, so
// showing it again is a buffer swap instead of a reload. A store file whose buffer is not kept
// (or was dropped) is read back from disk.

#include <QHash>
#include <QString>

class TRichExporter;

class EditorBuffers
{
public:
    explicit EditorBuffers(TRichExporter& editor) : m_editor(editor) {}
    ~EditorBuffers();
    EditorBuffers(const EditorBuffers&) = delete;
    EditorBuffers& operator=(const EditorBuffers&) = delete;

    // Writes the editor's text into `storeFile` (throws CommandError on failure), keeps the
    // buffer for `storeFile` and leaves the editor showing an empty buffer.
    void stash(const QString& storeFile);
    // Shows the text stashed under `storeFile`.
    void show(const QString& storeFile);
    // Forgets the kept buffer of a document that no longer exists.
    void forget(const QString& storeFile);
    void forgetAll();
    bool isKept(const QString& storeFile) const { return m_kept.contains(storeFile); }

    // Reads a whole file into the editor as bytes (throws CommandError on failure; the editor
    // is then empty).
    void loadFile(const QString& path);
    // Writes the editor's bytes to `path`, replacing it (throws CommandError on failure).
    void writeFile(const QString& path);

private:
    TRichExporter& m_editor;
    QHash<QString, void*> m_kept;
};

// Reads a whole file as bytes; throws CommandError with the system's reason on failure.
QByteArray readFileBytes(const QString& path);
