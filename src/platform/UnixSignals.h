#pragma once

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

// Turns POSIX signals into a Qt signal on the main thread. The handler only writes the signal
// number to a socket pair; the notifier reads it in the event loop, where anything may be done.
class UnixSignals : public QObject
{
    Q_OBJECT

public:
    explicit UnixSignals(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
