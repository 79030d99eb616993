// The player's catalogue as a list model, so the pager's list view creates a
// card only for the pages near the visible one: a catalogue can hold
// thousands of rows. The player owns it and hands it every new list.
//
// A reload that keeps the same ids in the same order updates the rows in
// place, so cards stay and follow their current record (a changed logo
// address reloads the logo); any other reload resets the model.
#pragma once

#include "Catalogue/Station.h"

#include <QAbstractListModel>

class StationListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { StationRole = Qt::UserRole + 1, StationIdRole, UrlRole, ImageRole, GenreRole, TitleRole };
    Q_ENUM(Role)

    explicit StationListModel(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_stations.size()); }

    void setStations(const QList<Station>& stations);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    QList<Station> m_stations;
};
