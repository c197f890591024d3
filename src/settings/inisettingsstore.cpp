#include "settings/inisettingsstore.h"

#include "platform/userfolders.h"
#include "settings/recentlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace {

QString fold(const QString& s)
{
    return s.toCaseFolded();
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

void appendUnit(QString& out, char16_t unit)
{
    out += QStringLiteral("\\u%1").arg(unsigned(unit), 4, 16, QLatin1Char('0'));
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Index of the first "=" not preceded by an escaping backslash, or -1.
qsizetype findSeparator(const QString& line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == QLatin1Char('\\'))
            ++i;
        else if (line.at(i) == QLatin1Char('='))
            return i;
    }
    return -1;
}

const QLatin1StringView LockSuffix(".lock");

// A path that names something other than a regular file once links are followed (a pipe, a
// device, a folder) is not a settings file: opening a pipe waits for a writer, and replacing a
// device would leave a plain file in its place. Asked of the file system without opening it.
bool isForeignFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

void reportForeignFile(const QString& path)
{
    qWarning("The settings file \"%s\" is not a regular file: Quillet uses its built-in settings "
             "and writes nothing there.",
             qPrintable(QDir::toNativeSeparators(path)));
}

} // namespace

QString IniSettingsStore::defaultLocation()
{
    const QString fromEnvironment = qEnvironmentVariable("QUILLET_SETTINGS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return platform::configHome() + QStringLiteral("/Quillet/Quillet.ini");
}

IniSettingsStore::IniSettingsStore(const QString& filePath) : m_fileName(filePath)
{
    reload();
}

IniSettingsStore::~IniSettingsStore()
{
    flush();
}

QString IniSettingsStore::readString(const QString& key, const QString& name, const QString& fallback) const
{
    const auto section = m_tree.constFind(fold(key));
    if (section == m_tree.cend())
        return fallback;
    const auto value = section->values.constFind(fold(name));
    return value == section->values.cend() ? fallback : value->text;
}

void IniSettingsStore::writeString(const QString& key, const QString& name, const QString& value)
{
    applyWrite(m_tree, key, name, value);
    m_changes.append({false, key, name, value});
}

bool IniSettingsStore::valueExists(const QString& key, const QString& name) const
{
    const auto section = m_tree.constFind(fold(key));
    return section != m_tree.cend() && section->values.contains(fold(name));
}

void IniSettingsStore::eraseKey(const QString& key)
{
    applyErase(m_tree, key);
    m_changes.append({true, key, {}, {}});
}

QStringList IniSettingsStore::keys() const
{
    QStringList result;
    for (const Section& s : m_tree)
        result << s.name;
    return result;
}

void IniSettingsStore::applyWrite(Tree& tree, const QString& key, const QString& name, const QString& text)
{
    Section& section = tree[fold(key)];
    if (section.name.isEmpty())
        section.name = key;
    Value& value = section.values[fold(name)];
    if (value.name.isEmpty())
        value.name = name;
    value.text = text;
}

void IniSettingsStore::applyErase(Tree& tree, const QString& key)
{
    const QString folded = fold(key);
    const QString below = folded + QLatin1Char('\\');
    for (auto it = tree.begin(); it != tree.end();) {
        if (it.key() == folded || it.key().startsWith(below))
            it = tree.erase(it);
        else
            ++it;
    }
}

void IniSettingsStore::reload()
{
    m_changes.clear();
    m_tree.clear();
    m_read.clear();
    m_refused = isForeignFile(m_fileName);
    if (m_refused) {
        reportForeignFile(m_fileName);
        return;
    }
    QFile file(m_fileName);
    if (file.open(QIODevice::ReadOnly))
        m_tree = parse(file.readAll());
    m_read = m_tree;
}

bool IniSettingsStore::flush()
{
    if (m_refused) {
        // Said once when it was found; the changes live on in memory for this run only.
        m_changes.clear();
        return true;
    }
    if (m_changes.isEmpty())
        return true;
    if (isForeignFile(m_fileName)) {
        reportForeignFile(m_fileName);
        return false;
    }

    const QFileInfo info(m_fileName);
    QDir().mkpath(info.absolutePath());

    // Serialises the read-merge-write with other running copies. Without the lock the write is
    // still atomic; only a concurrent copy's changes might be lost, which beats losing ours.
    QLockFile lock(m_fileName + LockSuffix);
    lock.setStaleLockTime(10000);
    const bool locked = lock.tryLock(2000);

    // What this copy holds now, as far as its own writes and erasures made it: the values as read
    // with the changes replayed on top, without what other copies wrote meanwhile.
    Tree own = m_read;
    for (const Change& c : std::as_const(m_changes)) {
        if (c.erase)
            applyErase(own, c.key);
        else
            applyWrite(own, c.key, c.name, c.text);
    }

    // Start from the file as it is now; if it exists but cannot be read, from what we loaded.
    Tree merged = m_tree;
    QFile current(m_fileName);
    const bool readable = current.open(QIODevice::ReadOnly);
    if (readable || !current.exists()) {
        merged = readable ? parse(current.readAll()) : Tree();
        mergeChanges(merged, own);
    }
    current.close();

    QSaveFile out(m_fileName);
    bool ok = out.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray data = serialize(merged);
        ok = out.write(data) == data.size() && out.commit();
        if (!ok)
            out.cancelWriting();
    }
    if (locked)
        lock.unlock();

    if (!ok) {
        // Keep the pending changes for the next attempt; reads still see them.
        return false;
    }
    m_tree = merged;
    m_read = own;
    m_changes.clear();
    return true;
}

void IniSettingsStore::mergeChanges(Tree& file, const Tree& own) const
{
    // Only what this copy changed goes into the file: every window writes all its values when it
    // closes, and a value written as it was read would undo what another copy changed meanwhile.
    // A key that was erased (a list, rewritten whole) is one value: if it now differs from what
    // was read, it replaces the file's key and everything below it.
    QStringList erased;
    for (const Change& c : m_changes) {
        if (c.erase && !erased.contains(fold(c.key)))
            erased << fold(c.key);
    }
    const auto inErased = [&erased](const QString& foldedKey) {
        return std::any_of(erased.cbegin(), erased.cend(),
                           [&foldedKey](const QString& e) { return isAtOrBelow(foldedKey, e); });
    };
    for (const QString& key : std::as_const(erased)) {
        if (subtree(own, key) == subtree(m_read, key))
            continue;
        // A recent-file list takes this copy's additions and removals into the file's list, as
        // values do, so two copies that each open a file keep both.
        if (const auto merged = mergedRecentList(key, own, file)) {
            const QString name = own.contains(key) ? own.value(key).name : file.value(key).name;
            applyErase(file, key);
            for (qsizetype i = 0; i < merged->size(); ++i)
                applyWrite(file, name, QStringLiteral("Item_%1").arg(i), merged->at(i));
            continue;
        }
        applyErase(file, key);
        for (auto it = own.cbegin(); it != own.cend(); ++it) {
            if (isAtOrBelow(it.key(), key))
                file.insert(it.key(), it.value());
        }
    }
    for (const Change& c : m_changes) {
        if (c.erase || inErased(fold(c.key)))
            continue;
        const QString text = readValue(own, c.key, c.name).value_or(QString());
        if (readValue(m_read, c.key, c.name) != text)
            applyWrite(file, c.key, c.name, text);
    }
}

std::optional<QStringList> IniSettingsStore::recentEntries(const Tree& tree, const QString& foldedKey)
{
    static const QRegularExpression itemName(QStringLiteral("^item_(\\d+)$"));
    QMap<int, QString> entries;
    const auto section = tree.constFind(foldedKey);
    if (section != tree.cend()) {
        for (auto v = section->values.cbegin(); v != section->values.cend(); ++v) {
            const QRegularExpressionMatch match = itemName.match(v.key());
            if (!match.hasMatch())
                return std::nullopt;
            entries.insert(match.captured(1).toInt(), v->text);
        }
    }
    // No key below a list's own.
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        if (it.key() != foldedKey && isAtOrBelow(it.key(), foldedKey))
            return std::nullopt;
    return QStringList(entries.cbegin(), entries.cend());
}

std::optional<QStringList> IniSettingsStore::mergedRecentList(const QString& foldedKey, const Tree& own,
                                                              const Tree& file) const
{
    const std::optional<QStringList> read = recentEntries(m_read, foldedKey);
    const std::optional<QStringList> mine = recentEntries(own, foldedKey);
    const std::optional<QStringList> theirs = recentEntries(file, foldedKey);
    if (!read || !mine || !theirs || (read->isEmpty() && mine->isEmpty()))
        return std::nullopt;
    const auto listed = [](const QStringList& list, const QString& entry) {
        return std::any_of(list.cbegin(), list.cend(),
                           [&](const QString& e) { return RecentList::sameName(e, entry); });
    };
    // What this copy put on top since it read the list: the entries before the longest tail that
    // still stands in the order it was read in.
    qsizetype tail = mine->size();
    for (qsizetype at = read->size(); tail > 0;) {
        qsizetype found = -1;
        for (qsizetype i = at - 1; i >= 0 && found < 0; --i)
            if (RecentList::sameName(read->at(i), mine->at(tail - 1)))
                found = i;
        if (found < 0)
            break;
        at = found;
        --tail;
    }
    QStringList merged = mine->first(tail);
    for (const QString& entry : *theirs) {
        const bool removedHere = listed(*read, entry) && !listed(*mine, entry);
        if (!removedHere && !listed(merged, entry))
            merged.append(entry);
    }
    return merged;
}

bool IniSettingsStore::isAtOrBelow(const QString& foldedKey, const QString& foldedAncestor)
{
    return foldedKey == foldedAncestor ||
           (foldedKey.startsWith(foldedAncestor) && foldedKey.at(foldedAncestor.size()) == QLatin1Char('\\'));
}

QMap<QString, QMap<QString, QString>> IniSettingsStore::subtree(const Tree& tree, const QString& foldedKey)
{
    QMap<QString, QMap<QString, QString>> texts;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        if (!isAtOrBelow(it.key(), foldedKey) || it->values.isEmpty())
            continue;
        auto& section = texts[it.key()];
        for (auto v = it->values.cbegin(); v != it->values.cend(); ++v)
            section.insert(v.key(), v->text);
    }
    return texts;
}

std::optional<QString> IniSettingsStore::readValue(const Tree& tree, const QString& key, const QString& name)
{
    const auto section = tree.constFind(fold(key));
    if (section == tree.cend())
        return std::nullopt;
    const auto value = section->values.constFind(fold(name));
    if (value == section->values.cend())
        return std::nullopt;
    return value->text;
}

QString IniSettingsStore::escapeText(const QString& text, bool isName)
{
    // Blanks at the ends are escaped so that reading may trim hand-added blanks.
    qsizetype lead = 0;
    while (lead < text.size() && isBlank(text.at(lead)))
        ++lead;
    qsizetype trail = text.size();
    while (trail > lead && isBlank(text.at(trail - 1)))
        --trail;

    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        const bool atEnd = i < lead || i >= trail;
        if (u == '\\') {
            out += QLatin1String("\\\\");
        } else if (u == '\n') {
            out += QLatin1String("\\n");
        } else if (u == '\r') {
            out += QLatin1String("\\r");
        } else if (u == '\t') {
            out += QLatin1String("\\t");
        } else if (u == ' ' && atEnd) {
            out += QLatin1String("\\s");
        } else if (u < 0x20 || u == 0x7f || (atEnd && isBlank(c))) {
            appendUnit(out, u);
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate()) {
            // An unpaired surrogate has no UTF-8 form.
            appendUnit(out, u);
        } else if (isName && (u == '=' || (i == 0 && (u == '[' || u == ';' || u == '#')))) {
            out += QLatin1Char('\\');
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

QString IniSettingsStore::unescapeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar e = text.at(++i);
        switch (e.unicode()) {
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'u': {
            int unit = 0;
            int digits = 0;
            while (digits < 4 && i + 1 + digits < text.size()) {
                const int h = hexValue(text.at(i + 1 + digits));
                if (h < 0)
                    break;
                unit = unit * 16 + h;
                ++digits;
            }
            if (digits == 4) {
                out += QChar(char16_t(unit));
                i += 4;
            } else {
                out += QLatin1String("\\u"); // malformed: kept as written
            }
            break;
        }
        default:
            out += e;
            break;
        }
    }
    return out;
}

IniSettingsStore::Tree IniSettingsStore::parse(const QByteArray& data)
{
    Tree tree;
    QString content = QString::fromUtf8(data);
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);

    Section* section = nullptr; // values before any valid header have no key and are dropped
    for (QStringView raw : QStringView(content).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed().toString();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 2) {
                section = nullptr; // an unclosed header: its lines have no trustworthy key
                continue;
            }
            const QString name = unescapeText(line.mid(1, line.size() - 2).trimmed());
            section = &tree[fold(name)];
            if (section->name.isEmpty())
                section->name = name;
            continue;
        }
        const qsizetype eq = findSeparator(line);
        if (eq < 0 || !section)
            continue;
        const QString name = unescapeText(line.left(eq).trimmed());
        Value& value = section->values[fold(name)];
        if (value.name.isEmpty())
            value.name = name;
        value.text = unescapeText(line.mid(eq + 1).trimmed());
    }
    return tree;
}

QByteArray IniSettingsStore::serialize(const Tree& tree)
{
    QString out;
    out += QLatin1String("; Quillet settings. Written by the program; see the escapes in its documentation.\n");
    for (const Section& section : tree) {
        out += QLatin1Char('\n');
        out += QLatin1Char('[') + escapeText(section.name, false) + QLatin1String("]\n");
        for (const Value& value : section.values)
            out += escapeText(value.name, true) + QLatin1Char('=') + escapeText(value.text, false) + QLatin1Char('\n');
    }
    return out.toUtf8();
}
