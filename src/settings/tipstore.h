#pragma once
// The tips of the tip window: a list the user can extend and prune, kept as the window's stored
// property "Tips.Items" (no file of its own), and the tip being shown, picked at random.

#include <QString>
#include <QStringList>

#include <functional>

class TipStore
{
public:
    // The tip added when the list is empty as the window is shown.
    static const QString UpdateTip;
    // The list a first run starts with.
    static QStringList builtInTips();

    TipStore();

    const QStringList& tips() const { return m_tips; }
    void setTips(const QStringList& tips) { m_tips = tips; }
    qsizetype count() const { return m_tips.size(); }

    // The list is never shown empty: the update tip goes in (and stays in the list).
    void ensureNotEmpty();
    // The current index := a pseudo-random number modulo the number of tips (0 for none); the tip
    // there, or an empty text and false when there is none.
    bool pick(QString& tip);
    quint16 currentIndex() const { return m_current; }

    void add(const QString& tip) { m_tips.append(tip); }
    // False when `index` names no tip.
    bool remove(qsizetype index);

    // The numbers picks are made from; tests make them repeatable.
    void setRandom(std::function<quint32()> random) { m_random = std::move(random); }

private:
    QStringList m_tips;
    quint16 m_current = 0;
    std::function<quint32()> m_random;
};
