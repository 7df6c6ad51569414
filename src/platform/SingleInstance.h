#pragma once

#include <QObject>
#include <QStringList>

#include <map>

// The single-instance lock of one user's desktop session, and the way a later copy of the same
// user hands the running copy paths to open. The operating system frees the lock when the process
// ends, crashes included.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Lock
    {
        Taken,         // this copy runs and listens for later copies
        HeldElsewhere, // another copy of this user runs in this session
        Unavailable,   // the lock could not be made, or a stranger holds its name: this copy
                       // runs alone
    };

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock for the rest of this object's life.
    Lock TakeLock();

    // Hands the absolute paths to the copy that holds the lock and waits, bounded, until it has
    // taken them. False when no copy of this user took them.
    static bool HandOver(const QStringList &paths);

signals:
    // Paths a later copy of the same user handed over, in its order.
    void PathsHandedOver(const QStringList &paths);

private:
    void AcceptWaitingCopies();
    void ReadFrom(int connection);
    void Drop(int connection);

    int m_lock = -1;
    struct Pending;
    std::map<int, Pending *> m_pending; // open connections by descriptor
};
