#include "Views/StationFilter.h"

#include "Model/StationListModel.h"

StationFilter::StationFilter(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(this, signal, this, &StationFilter::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &StationFilter::countChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this, &StationFilter::countChanged);
}

void StationFilter::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    invalidateRowsFilter();
    emit textChanged();
}

bool StationFilter::matches(const QStringList& words, const QString& title, const QString& genre)
{
    for (const QString& word : words) {
        if (!title.contains(word, Qt::CaseInsensitive) && !genre.contains(word, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool StationFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (m_words.isEmpty())
        return true;
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return matches(m_words, index.data(StationListModel::TitleRole).toString(),
                   index.data(StationListModel::GenreRole).toString());
}

int StationFilter::sourceRow(int row) const
{
    return mapToSource(index(row, 0)).row();
}

int StationFilter::rowOf(int sourceRow) const
{
    if (!sourceModel())
        return -1;
    return mapFromSource(sourceModel()->index(sourceRow, 0)).row();
}
