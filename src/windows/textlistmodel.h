#pragma once

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QSize>
#include <QStringList>

// The names shown in a list, one row each, all of the list's row height and as wide as the
// widest entry (plus one average character), so a long entry scrolls sideways. Rows of one
// height let the view lay out 100,000 entries without measuring each.
class TextListModel : public QAbstractListModel
{
public:
    TextListModel(QFont font, QObject* parent) : QAbstractListModel(parent), m_metrics(font) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return m_rows.at(index.row());
        if (role == Qt::SizeHintRole)
            return QSize(m_width, RowHeight);
        return {};
    }

    const QStringList& rows() const { return m_rows; }
    void setRows(const QStringList& rows)
    {
        beginResetModel();
        m_rows = rows;
        measure();
        endResetModel();
    }
    void append(const QString& row)
    {
        beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
        m_rows.append(row);
        widen(row);
        endInsertRows();
    }
    void replace(int row, const QString& text)
    {
        m_rows[row] = text;
        measure();
        emit dataChanged(index(row), index(row));
    }
    void removeAt(int row)
    {
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        measure();
        endRemoveRows();
    }

    static constexpr int RowHeight = 16;

    // The font the list shows the rows in: the widest row is measured again.
    void setFont(const QFont& font)
    {
        m_metrics = QFontMetrics(font);
        measure();
        emit layoutChanged();
    }

private:
    // The widest entry is taken as the one with the most characters: the lists use a font of
    // fixed pitch, and measuring every entry would cost more than the list itself.
    void measure()
    {
        qsizetype longest = -1;
        m_longest.clear();
        for (const QString& row : std::as_const(m_rows))
            if (row.size() > longest) {
                longest = row.size();
                m_longest = row;
            }
        m_width = m_metrics.horizontalAdvance(m_longest) + m_metrics.averageCharWidth();
    }
    void widen(const QString& row)
    {
        if (row.size() <= m_longest.size() && !m_rows.isEmpty() && m_width > 0)
            return;
        m_longest = row;
        m_width = m_metrics.horizontalAdvance(m_longest) + m_metrics.averageCharWidth();
    }

    QFontMetrics m_metrics;
    QStringList m_rows;
    QString m_longest;
    int m_width = 0;
};
