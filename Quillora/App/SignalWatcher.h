// Turns SIGINT and SIGTERM into a Qt signal on the main thread (self-pipe:
// the handler only writes one byte, which is async-signal-safe).
#pragma once

#include <QObject>

class QSocketNotifier;

class SignalWatcher final : public QObject {
    Q_OBJECT

public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

    bool isValid() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    QSocketNotifier* m_notifier = nullptr;
};
