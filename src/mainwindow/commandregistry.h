#pragma once
// The main window's actions by designed name. An action is enabled only once a handler is bound
// to it, so a command that is not built yet stays disabled whatever else happens.

#include <QHash>
#include <QSet>
#include <QString>

class QAction;

class CommandRegistry
{
public:
    QAction* action(const QString& name) const { return m_actions.value(name); }
    void add(const QString& name, QAction* action) { m_actions.insert(name, action); }
    bool isBound(const QString& name) const { return m_bound.contains(name); }
    void markBound(const QString& name) { m_bound.insert(name); }
    const QHash<QString, QAction*>& actions() const { return m_actions; }

private:
    QHash<QString, QAction*> m_actions;
    QSet<QString> m_bound;
};
