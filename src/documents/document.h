#pragma once
// One open document as the program keeps it while it is not in the editor: its caption, the file
// it belongs to (none until it is first saved), the store file its text is parked in, where the
// caret was, whether it has changes the file does not hold, whether its file could not be read,
// and the encoding its file is written in (the editor and the store file hold UTF-8 text).

#include "documents/filesave.h"
#include "platform/platform.h"
#include "platform/textcodec.h"

#include <QString>

#include <optional>

// The words the user sees for a document without a file and for its modified state.
inline const QString UntitledName = QStringLiteral("Untitled");
inline const QString ModifiedWord = QStringLiteral("Modified");
inline const QString NotModifiedWord = QStringLiteral("Not Modified");
// The encoding panel's word for a text kept as its file's bytes.
inline const QString RawBytesPanelText = QStringLiteral("Raw bytes");

struct Document
{
    QString caption;
    QString path;      // empty: never saved
    QString storeFile; // empty only while the document is being added
    qint64 caret = 0;
    bool modified = false;
    // Why the file, which exists, could not be read in full when the document was opened (empty:
    // it was read, or there was no file). Such a document is not the file's text: saving it
    // would replace the file with whatever the document holds, so it is never saved unasked.
    QString notLoadedReason;
    // What another program did to the file since the program last read or wrote it ("Changed on
    // Disk", "Deleted from Disk"); empty when nothing.
    QString diskChange;
    // What Save encodes the text in; UTF-8 also for bytes shown raw, which are written unchanged.
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    // Why the text is the file's bytes as they are, neither valid UTF-8 nor decoded (empty: it is
    // one or the other); the status bar's note from when it was read.
    QString rawBytesNote;
    // Characters outside ASCII were typed or pasted into such a text since it was read or saved:
    // saved as UTF-8, they would mix encodings in one file.
    bool nonAsciiAdded = false;
    // The file as the program last read or wrote it. While the document is not modified since,
    // its text is the file's bytes decoded from `encoding` with each CR LF standing for
    // `lineEnds` (AsIs: for itself); nothing when it was not (not loaded, or saved with mixed line
    // breaks). `generation` grows with each read and write, so a change of the text since can be
    // told from one before.
    struct FileOrigin
    {
        platform::FileState state;
        std::optional<LineEnds> lineEnds;
        quint64 generation = 0;
    };
    FileOrigin origin;

    bool hasFile() const { return !path.isEmpty(); }
    bool notLoaded() const { return !notLoadedReason.isEmpty(); }
    // The path as hints show it: "Untitled" for a document without a file.
    QString displayPath() const { return hasFile() ? path : UntitledName; }
    QString modifiedWord() const { return modified ? ModifiedWord : NotModifiedWord; }
};
