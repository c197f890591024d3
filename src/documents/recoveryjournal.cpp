#include "documents/recoveryjournal.h"

#include "core/commanderror.h"
#include "documents/filesave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace {
const QString LockName = QStringLiteral("lock");
const QString TextSuffix = QStringLiteral(".txt");
const QString RecordSuffix = QStringLiteral(".json");

QString textFile(const QString& folder, quint64 key)
{
    return folder + QLatin1Char('/') + QString::number(key) + TextSuffix;
}

QString recordFile(const QString& folder, quint64 key)
{
    return folder + QLatin1Char('/') + QString::number(key) + RecordSuffix;
}

bool makePrivateFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray encode(const RecoveryRecord& record)
{
    QJsonObject o;
    o.insert(QStringLiteral("caption"), record.caption);
    o.insert(QStringLiteral("path"), record.path);
    o.insert(QStringLiteral("caret"), record.caret);
    o.insert(QStringLiteral("written"), record.written.toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("encoding"), platform::encodingName(record.encoding));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// A record file that cannot be read still names a text worth keeping: it comes back untitled.
RecoveryRecord decode(const QByteArray& json, quint64 key, const QDateTime& fallbackTime)
{
    RecoveryRecord record;
    record.key = key;
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    record.caption = o.value(QStringLiteral("caption")).toString();
    record.path = o.value(QStringLiteral("path")).toString();
    record.caret = o.value(QStringLiteral("caret")).toInteger();
    record.written = QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    record.encoding =
        platform::encodingNamed(o.value(QStringLiteral("encoding")).toString()).value_or(platform::TextEncoding::Utf8);
    if (!record.written.isValid())
        record.written = fallbackTime;
    return record;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The keys that have a text file in `folder` (a record without its text has nothing to recover).
QList<quint64> keysIn(const QString& folder)
{
    QList<quint64> keys;
    const QStringList names = QDir(folder).entryList({QLatin1Char('*') + TextSuffix}, QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const quint64 key = name.chopped(TextSuffix.size()).toULongLong(&ok);
        if (ok)
            keys.append(key);
    }
    return keys;
}

RecoveryRecord readRecord(const QString& folder, quint64 key)
{
    const QFileInfo text(textFile(folder, key));
    return decode(readAll(recordFile(folder, key)), key, text.lastModified());
}

void writeRecord(const QString& folder, const RecoveryRecord& record, const QByteArray& text)
{
    // The text first: a record on disk always has its text beside it.
    writeTextFile(textFile(folder, record.key), text, LineEnds::AsIs);
    writeTextFile(recordFile(folder, record.key), encode(record), LineEnds::AsIs);
}

void removeRecord(const QString& folder, quint64 key)
{
    QFile::remove(recordFile(folder, key));
    QFile::remove(textFile(folder, key));
}
} // namespace

struct RecoveryJournal::Worker
{
    struct Job
    {
        quint64 key = 0;
        bool remove = false;
        qint64 prepare = 0; // a buffer of this size, not a record
        RecoveryRecord record;
        QByteArray text;
    };

    QString folder;
    QString runFolder;
    std::unique_ptr<QLockFile> lock;
    quint64 nextKey = 1;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Job> queue;
    bool busy = false;
    QByteArray prepared;
    bool stopping = false;
    std::thread thread;

    void run()
    {
        std::unique_lock guard(mutex);
        for (;;) {
            wake.wait(guard, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
                return;
            Job job = std::move(queue.front());
            queue.pop_front();
            busy = true;
            guard.unlock();
            perform(job);
            guard.lock();
            busy = false;
            if (queue.empty())
                idle.notify_all();
        }
    }

    void perform(const Job& job)
    {
        if (job.prepare > 0) {
            QByteArray block(job.prepare, '\0');
            std::lock_guard guard(mutex);
            prepared = std::move(block);
            return;
        }
        if (job.remove) {
            removeRecord(runFolder, job.key);
            return;
        }
        try {
            writeRecord(runFolder, job.record, job.text);
        } catch (const CommandError& e) {
            // Nobody to tell on this thread; the next write tries again.
            qWarning("Quillet: recovery copy not written: %s", qPrintable(e.message()));
        }
    }

    void enqueue(Job job)
    {
        {
            std::lock_guard guard(mutex);
            // Only the latest state of a document matters: anything still queued for it goes.
            std::erase_if(queue, [&job](const Job& queued) { return queued.key == job.key; });
            queue.push_back(std::move(job));
        }
        wake.notify_one();
    }

    void waitUntilIdle()
    {
        std::unique_lock guard(mutex);
        idle.wait(guard, [this] { return queue.empty() && !busy; });
    }

    void stop()
    {
        if (!thread.joinable())
            return;
        {
            std::lock_guard guard(mutex);
            stopping = true;
        }
        wake.notify_all();
        thread.join();
    }
};

RecoveryJournal::RecoveryJournal(const QString& folder) : m_worker(std::make_unique<Worker>())
{
    m_worker->folder = QDir::cleanPath(folder);
}

RecoveryJournal::~RecoveryJournal()
{
    m_worker->stop();
}

bool RecoveryJournal::start()
{
    Worker& w = *m_worker;
    if (w.lock)
        return true;
    if (!makePrivateFolder(w.folder))
        return false;
    // A name no other run has used, even one whose process id this process now has.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral("%1-%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QString candidate = w.folder + QLatin1Char('/') + name;
        if (QDir(candidate).exists() || !QDir().mkdir(candidate))
            continue;
        QFile::setPermissions(candidate, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto lock = std::make_unique<QLockFile>(candidate + QLatin1Char('/') + LockName);
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            QDir(candidate).removeRecursively();
            return false;
        }
        w.runFolder = candidate;
        w.lock = std::move(lock);
        w.thread = std::thread([&w] { w.run(); });
        return true;
    }
    return false;
}

bool RecoveryJournal::isActive() const
{
    return m_worker->lock != nullptr;
}

QString RecoveryJournal::runFolder() const
{
    return m_worker->runFolder;
}

QList<RecoveryRecord> RecoveryJournal::adoptAbandoned()
{
    QList<RecoveryRecord> adopted;
    if (!isActive())
        return adopted;
    Worker& w = *m_worker;
    const QFileInfoList runs = QDir(w.folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& run : runs) {
        const QString other = run.absoluteFilePath();
        if (QDir::cleanPath(other) == w.runFolder || run.isSymLink())
            continue;
        // Taking the lock succeeds only where its process is gone (or never took it).
        QLockFile lock(other + QLatin1Char('/') + LockName);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        bool keptAll = true;
        for (quint64 oldKey : keysIn(other)) {
            RecoveryRecord record = readRecord(other, oldKey);
            record.key = newKey();
            // The text moves (a rename, so a large one costs nothing); the record is written anew.
            if (!QFile::rename(textFile(other, oldKey), textFile(w.runFolder, record.key))) {
                keptAll = false;
                continue;
            }
            try {
                writeTextFile(recordFile(w.runFolder, record.key), encode(record), LineEnds::AsIs);
            } catch (const CommandError&) {
                // The text is here already; without its record it still comes back, untitled.
            }
            QFile::remove(recordFile(other, oldKey));
            adopted.append(record);
        }
        lock.unlock();
        if (keptAll)
            QDir(other).removeRecursively();
    }
    std::sort(adopted.begin(), adopted.end(),
              [](const RecoveryRecord& a, const RecoveryRecord& b) { return a.written < b.written; });
    return adopted;
}

QByteArray RecoveryJournal::textOf(const RecoveryRecord& record) const
{
    return isActive() ? readAll(textFile(m_worker->runFolder, record.key)) : QByteArray();
}

quint64 RecoveryJournal::newKey()
{
    std::lock_guard guard(m_worker->mutex);
    return m_worker->nextKey++;
}

void RecoveryJournal::write(const RecoveryRecord& record, const QByteArray& text)
{
    if (!isActive())
        return;
    Worker::Job job;
    job.key = record.key;
    job.record = record;
    job.text = text;
    m_worker->enqueue(std::move(job));
}

void RecoveryJournal::drop(quint64 key)
{
    if (!isActive())
        return;
    Worker::Job job;
    job.key = key;
    job.remove = true;
    m_worker->enqueue(std::move(job));
}

void RecoveryJournal::prepareBuffer(qint64 size)
{
    if (!isActive())
        return;
    Worker::Job job;
    job.key = 0; // keys start at 1: this job never replaces a record's
    job.prepare = size;
    m_worker->enqueue(std::move(job));
}

QByteArray RecoveryJournal::takeBuffer(qint64 size)
{
    std::lock_guard guard(m_worker->mutex);
    if (m_worker->prepared.size() < size)
        return {};
    return std::exchange(m_worker->prepared, QByteArray());
}

void RecoveryJournal::waitUntilIdle()
{
    if (isActive())
        m_worker->waitUntilIdle();
}

QList<RecoveryRecord> RecoveryJournal::records() const
{
    QList<RecoveryRecord> result;
    if (!isActive())
        return result;
    for (quint64 key : keysIn(m_worker->runFolder))
        result.append(readRecord(m_worker->runFolder, key));
    std::sort(result.begin(), result.end(),
              [](const RecoveryRecord& a, const RecoveryRecord& b) { return a.key < b.key; });
    return result;
}

void RecoveryJournal::finish()
{
    if (!isActive())
        return;
    Worker& w = *m_worker;
    w.stop();
    w.lock->unlock();
    w.lock.reset();
    QDir(w.runFolder).removeRecursively();
    // The shared folder goes too once no run is left in it.
    QDir().rmdir(w.folder);
}
