#pragma once
// The settings store on platforms without a registry: one INI file for the program key "Quillet".
//
// Location: the file given to the constructor; defaultLocation() is the environment variable
// QUILLET_SETTINGS when set (a file path, for tests and portable copies), otherwise
// platform::configHome() + "/Quillet/Quillet.ini" ($XDG_CONFIG_HOME/Quillet/Quillet.ini on Linux).
//
// The file is read and written by our own small parser rather than QSettings: QSettings' INI
// format is case-sensitive, gives "/" and "\" meaning and rewrites odd characters, whereas key
// names here carry dots and blanks verbatim and everything must compare without regard to case.
//
// File format (UTF-8):
//   [Key Name]          one section per key; "\" inside the name separates levels
//   Name=Value          one value; the first unescaped "=" ends the name
//   ; or # at the start of a line: a comment
// Escapes, in names and values: "\\" backslash, "\n" line feed, "\r" carriage return, "\t" tab,
// "\s" blank, "\uXXXX" any other UTF-16 unit (control characters, unpaired surrogates), and "\"
// before any other character stands for that character ("\=" in names, "\[", "\;", "\#" at the
// start of a name); "\u" without four hex digits and a final lone "\" stay as written. Blanks
// at either end of a name or value are always escaped, so blanks added by hand around "=" are
// ignored.
//
// Names: keys and value names compare without regard to case; a key or value written under other
// letter case than the stored one updates the stored entry and keeps the stored spelling.
//
// Persistence: changes live in memory until flush() (also run by the destructor). flush() takes a
// lock file beside the INI file, re-reads the file, puts into it what this instance changed since
// it read the values (so two running copies keep each other's changes) and replaces the file
// atomically (QSaveFile). A value counts as changed when its text differs from the one read (or
// it was not there); a value written as it was read is left as the file now has it. A key that
// was erased (a list, which is erased and written anew) counts as one value: when its values
// differ from those read, it replaces the file's key whole. A damaged file never fails the load: whatever
// parses is kept, the rest ignored.
//
// A path that is not a regular file once links are followed (a pipe, a device, a folder) is never
// opened nor written: the store says so on standard error and keeps built-in values in memory.

#include "settings/settingsstore.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class IniSettingsStore : public SettingsStore
{
public:
    static QString defaultLocation();

    explicit IniSettingsStore(const QString& filePath = defaultLocation());
    ~IniSettingsStore() override;

    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    QString readString(const QString& key, const QString& name, const QString& fallback = {}) const override;
    void writeString(const QString& key, const QString& name, const QString& value) override;
    bool valueExists(const QString& key, const QString& name) const override;
    // Removes the key and the keys below it ("key\..."). Keys that only share the prefix, such as
    // the list key "Main.StatusBar1_Panels" for "Main", are separate keys and stay.
    void eraseKey(const QString& key) override;

    // Writes pending changes; true when there was nothing to write or the file was replaced.
    // After a failure the changes stay pending and the next flush tries again.
    bool flush();
    // Discards pending changes and reads the file again.
    void reload();

    QString fileName() const { return m_fileName; }
    bool hasPendingChanges() const { return !m_changes.isEmpty(); }

    // The names of the stored keys (stored spelling), for diagnostics and tests.
    QStringList keys() const;

    // Text form of one name or value and back; exposed for tests of the escaping.
    static QString escapeText(const QString& text, bool isName);
    static QString unescapeText(const QString& text);

private:
    struct Value
    {
        QString name;
        QString text;
    };
    struct Section
    {
        QString name;
        QMap<QString, Value> values; // by case-folded name
    };
    using Tree = QMap<QString, Section>; // by case-folded key

    struct Change
    {
        bool erase = false;
        QString key;
        QString name;
        QString text;
    };

    static Tree parse(const QByteArray& data);
    static QByteArray serialize(const Tree& tree);
    static void applyWrite(Tree& tree, const QString& key, const QString& name, const QString& text);
    static void applyErase(Tree& tree, const QString& key);
    static bool isAtOrBelow(const QString& foldedKey, const QString& foldedAncestor);
    // The texts of a key and the keys below it, by case-folded key and name.
    static QMap<QString, QMap<QString, QString>> subtree(const Tree& tree, const QString& foldedKey);
    static std::optional<QString> readValue(const Tree& tree, const QString& key, const QString& name);
    // The entries of a recent-file list key ("Item_0", "Item_1", ... and nothing else), top first;
    // nothing when the key holds other values or keys below it.
    static std::optional<QStringList> recentEntries(const Tree& tree, const QString& foldedKey);
    // A recent-file list as this copy changed it since it read it, merged into the file's list:
    // what this copy put on top goes on top, what it removed goes, the rest stays as the file has
    // it. Nothing when the key is not such a list.
    std::optional<QStringList> mergedRecentList(const QString& foldedKey, const Tree& own, const Tree& file) const;
    // Puts into `file` what this copy changed since it read the values: `own` is the values as read
    // with this copy's pending changes replayed.
    void mergeChanges(Tree& file, const Tree& own) const;

    QString m_fileName;
    Tree m_tree; // what reads see: the file as last read or written, with the pending changes
    Tree m_read; // the values as this copy read them, with its own changes written since
    QList<Change> m_changes;
    bool m_refused = false; // the path is no regular file: nothing is read or written
};
