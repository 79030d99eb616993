// The station list beside the player, narrowed as a person types: a station
// stays when every word typed appears in its title or its genre, in any
// case. An empty filter keeps every station, in the catalogue's order.
#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class StationFilter : public QSortFilterProxyModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit StationFilter(QObject* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    int count() const { return rowCount(); }

    // Whether a station of this title and genre stays for these words.
    static bool matches(const QStringList& words, const QString& title, const QString& genre);

    // The row in the catalogue of a row shown, and back; -1 for none.
    Q_INVOKABLE int sourceRow(int row) const;
    Q_INVOKABLE int rowOf(int sourceRow) const;

signals:
    void textChanged();
    void countChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString m_text;
    QStringList m_words;
};
