#pragma once
// A checksum of a text that an edit updates at the cost of the edit, not of the text: the sum
// (modulo 2^64) of a hash of every run of eight symbols in the text framed by seven "start"
// symbols before it and one "end" symbol after it. An edit changes only the runs that overlap it
// or straddle it, so the sum moves by what those runs hashed before and after the edit, found from
// the bytes removed and inserted and the seven bytes on either side. Any other change of the text
// (a lost, doubled or misplaced edit, a wrong base, damaged bytes) gives another sum but with a
// chance of 2^-64. The recovery journal keeps the sum of a document's text to check what it
// rebuilds from its base and edits.

#include <QByteArrayView>
#include <QIODevice>
#include <QtGlobal>

#include <memory>

class TextChecksum
{
public:
    // The bytes on either side of an edit that its change depends on.
    static constexpr qsizetype Context = 7;

    // The checksum of a whole text.
    static quint64 of(QByteArrayView text);
    // What the checksum gains when the bytes `removed` become `inserted`: `before` holds the up to
    // Context bytes in front of them (fewer only at the start of the text), `after` the up to
    // Context bytes behind them (fewer only at its end).
    static quint64 change(QByteArrayView before, QByteArrayView removed, QByteArrayView inserted, QByteArrayView after);

    // The checksum of a text fed in pieces split anywhere.
    TextChecksum() = default;
    void feed(QByteArrayView piece);
    // The checksum of everything fed (feeding may go on afterwards).
    quint64 value() const;
    qint64 length() const { return m_seen - m_lead; }

private:
    // A run of symbols framed by `lead` start symbols (and an end symbol, if closed): only runs that
    // lie wholly inside it count.
    explicit TextChecksum(int lead);
    void push(unsigned char byte);
    quint64 closed() const;

    quint64 m_sum = 0;
    quint64 m_window = 0; // the last eight symbols, the newest in the top byte; start symbols as 0
    qint64 m_seen = 7;    // symbols so far, start symbols included
    qint64 m_lead = 7;
};

// Passes on what `source` yields and sums it into `sum` on the way, so a text is checked in the
// same pass that reads it. Sequential.
class ChecksummingDevice : public QIODevice
{
public:
    ChecksummingDevice(std::unique_ptr<QIODevice> source, std::shared_ptr<TextChecksum> sum)
        : m_source(std::move(source)), m_sum(std::move(sum))
    {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = m_source->read(data, maxSize);
        if (n < 0)
            setErrorString(m_source->errorString());
        else
            m_sum->feed(QByteArrayView(data, n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QIODevice> m_source;
    std::shared_ptr<TextChecksum> m_sum;
};
