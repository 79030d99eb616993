// The desktop's own file dialog, asked for through the desktop portal
// (org.freedesktop.portal.FileChooser on the session bus): it looks like
// every other dialog on the desktop, works inside a sandbox, and costs the
// window no widget toolkit.
//
// Whether a portal answers is asked once, when the chooser is created;
// until it has answered, and where none does (no session bus, no portal,
// one without a file chooser), `available` is false and the caller offers
// another way (pasting a path). openCsvFile() shows the dialog with a CSV
// filter and ends in exactly one of chosen(url), cancelled() or
// failed(message). Main thread.
#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

class FileChooser : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // A portal with a file chooser answered.
    Q_PROPERTY(bool available READ available NOTIFY availableChanged)
    // The portal has been asked and has answered (or could not be reached).
    Q_PROPERTY(bool checked READ checked NOTIFY availableChanged)
    // A dialog is open.
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)

public:
    explicit FileChooser(QObject* parent = nullptr);
    ~FileChooser() override;

    bool available() const { return m_available; }
    bool checked() const { return m_checked; }
    bool busy() const { return !m_requestPath.isEmpty(); }

    // Shows the dialog for one CSV file, titled `title`, over `parent` (the
    // window, so the desktop keeps the dialog above it; may be null).
    Q_INVOKABLE void openCsvFile(const QString& title, QWindow* parent = nullptr);
    // Shows the dialog for any number of playlists and station lists to
    // import; ends in chosenFiles(urls) (and chosen(first)) or as above.
    Q_INVOKABLE void openStationLists(const QString& title, QWindow* parent = nullptr);
    // Shows the dialog for one folder; ends in chosen(url) or as above.
    Q_INVOKABLE void openFolder(const QString& title, QWindow* parent = nullptr);
    // Shows the dialog to save a station list, offering `name`; ends in
    // chosen(url) or as above.
    Q_INVOKABLE void saveStationList(const QString& title, const QString& name, QWindow* parent = nullptr);

    // The path the portal's answer to a request with this token comes from,
    // for a connection with this unique name.
    static QString requestPath(const QString& uniqueName, const QString& token);

signals:
    void availableChanged();
    void busyChanged();
    void chosen(const QUrl& url);
    void chosenFiles(const QList<QUrl>& urls);
    void cancelled();
    void failed(const QString& message);

private slots:
    // org.freedesktop.portal.Request.Response(u response, a{sv} results)
    void onResponse(uint response, const QVariantMap& results);

private:
    void checkPortal();
    void ask(const QString& method, const QString& title, QVariantMap options, QWindow* parent);
    void listenAt(const QString& path);
    void stopListening();
    void finish();

    bool m_available = false;
    bool m_checked = false;
    QString m_requestPath; // the request whose answer is awaited
    int m_tokens = 0;
};
