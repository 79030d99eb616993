// The player's catalogue as a list model, so the pager's list view creates a
// card only for the pages near the visible one: a catalogue can hold
// thousands of rows.
//
// A reload that keeps the same ids in the same order updates the rows in
// place, so cards stay and follow their current record (a changed logo
// address reloads the logo); any other reload resets the model.
#pragma once

#include "Catalogue/Station.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class Player;

class StationListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Player* player READ player WRITE setPlayer NOTIFY playerChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { StationRole = Qt::UserRole + 1, StationIdRole, UrlRole, ImageRole, GenreRole, TitleRole };
    Q_ENUM(Role)

    explicit StationListModel(QObject* parent = nullptr);

    Player* player() const { return m_player; }
    void setPlayer(Player* player);
    int count() const { return static_cast<int>(m_stations.size()); }

    // The stations shown; the model follows the player's list when it has one.
    void setStations(const QList<Station>& stations);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void playerChanged();
    void countChanged();

private:
    QPointer<Player> m_player;
    QMetaObject::Connection m_connection;
    QList<Station> m_stations;
};
