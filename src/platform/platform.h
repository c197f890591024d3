#pragma once
// Everything Quillet asks of the operating system goes through here, so the rest of the
// program stays portable and tests can see what was asked.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class QFileDevice;

namespace platform {

// How the file system tells two names apart: Windows ignores case, the others compare exactly
// ("M16.TXT" and "m16.txt" are two files on Linux). Every comparison of paths uses this.
#ifdef Q_OS_WIN
inline constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseSensitive;
#endif

inline bool sameFileName(const QString& a, const QString& b)
{
    return QString::compare(a, b, FileNameCase) == 0;
}

// Creates a new, empty, uniquely named file in the temporary folder whose name starts with
// `prefix`, and returns its path. Throws CommandError when the file cannot be created.
QString createTempFile(const QString& prefix);

// Deletes a file without asking, without a progress display and without reporting failure.
void deleteFileQuietly(const QString& path);

// The folder writable files live under, ending in a separator: the executable's folder when it
// may serve (see below: a build tree or a portable copy), otherwise the per-user data folder
// ($XDG_DATA_HOME/Quillet/), created when missing.
QString programDirectory();

// Whether an executable's folder may hold the program's writable files: it is writable, owned by
// the user running the program (`owner` == `user`), and not a system folder (below /usr, /bin,
// /sbin, /lib*, /opt, /snap, /etc, /var and the like), where such files would mix with the
// system's or reach other users. `path` is absolute and has its links resolved.
bool mayHoldProgramFiles(const QString& path, bool writable, uint owner, uint user);
// The same question asked of the file system about an existing folder.
bool folderMayHoldProgramFiles(const QString& folder);

// Copies everything from `from` (read from its current position) to `to`, in the kernel where the
// system allows it. False when a read or write fails; `reason`, when given, then gets the
// system's words for it.
bool copyFileData(QFileDevice& from, QFileDevice& to, QString* reason = nullptr);

// Renames `from` to `to`, replacing whatever has that name, a symbolic link itself rather than
// the file it points to. False with the system's reason in `reason` when it fails.
bool renameReplacing(const QString& from, const QString& to, QString* reason = nullptr);

// Whether putting a new file in the place of `path` by renaming leaves the file as its users know
// it: the folder takes new files, and the file, if there, has one name only, no extended
// attributes (access lists included), no set-id or sticky bits, and the owner and group a new
// file made there gets. The permission bits are the replacement's own to copy.
bool replacingKeepsFile(const QString& path);

// Bytes this user may still write in the file system holding `path` (a file or a folder); -1
// when the system does not say.
qint64 availableSpace(const QString& path);

// What tells one state of a file from another: a write moves its size or modification time, a
// file renamed into its place has another inode, and any write or change of its status (even one
// that puts the old modification time back) moves its change time. Times in nanoseconds since
// the epoch.
struct FileState
{
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    bool operator==(const FileState&) const = default;
};
// The state of the file at `path` now, links followed; `exists` false when there is none.
FileState fileState(const QString& path);

// Puts what was written to `file` on the disk itself. False when the system reports a failure,
// whose words go to `reason` when given.
bool syncToDisk(QFileDevice& file, QString* reason = nullptr);

// Converts text between character sets with iconv (names as iconv knows them, e.g. "CP437",
// "UTF-8"). A character the target set lacks, and a byte that is no character of the source set,
// each become `replacement`.
QByteArray convertCharset(QByteArrayView text, const char* from, const char* to, char replacement = '?');

// The system's default sound.
void beep();

// Whether the desktop alone decides where windows go and what stays above what, as a Wayland
// compositor does: a window can neither place itself nor learn where it is (it is told 0,0), nor
// keep itself on top.
bool desktopPlacesWindows();

} // namespace platform
