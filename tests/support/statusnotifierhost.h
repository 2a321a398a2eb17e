#pragma once

#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

// A StatusNotifierItem host on the session bus, as a panel offers one: it owns
// org.kde.StatusNotifierWatcher with a host registered and records the items that register.
// It answers from its own thread, so a test can host the client's icon in its own process.
class StatusNotifierWatcherThread : public QThread
{
    Q_OBJECT
public:
    StatusNotifierWatcherThread();
    ~StatusNotifierWatcherThread() override;

    // Starts it and returns once the name is owned.
    void startHosting();
    QStringList items() const;

protected:
    void run() override;

private:
    friend class FakeWatcher;
    void addItem(const QString &service);

    mutable QMutex m_mutex;
    QStringList m_items;
    QSemaphore m_ready;
};

// One entry of an item's exported menu, as a host reads it with GetLayout.
struct ExportedMenuEntry
{
    int id = 0;
    QVariantMap properties;
    QList<ExportedMenuEntry> children;

    bool isSeparator() const;
    bool isEnabled() const;
    // The label with its mnemonic written as in a QAction ("&L" for the exported "_L").
    QString caption() const;
    // The first entry, at any depth, whose caption is `caption`; null when none.
    const ExportedMenuEntry *find(const QString &caption) const;
};

// The host's side of one item: what a panel calls on a click, a right click and a menu choice.
// Every call waits for its answer in the event loop, so the item may live in this process.
class StatusNotifierItemCaller
{
public:
    explicit StatusNotifierItemCaller(QString service);

    // The primary click (true when the item answered).
    bool activate(int x, int y);
    // The exported menu's root, read as a host does when it shows the menu: AboutToShow, then
    // GetLayout.
    ExportedMenuEntry openMenu();
    // GetLayout alone, as a host that keeps the layout it was sent.
    ExportedMenuEntry readMenu();
    // The user chooses an entry.
    bool click(int id);
    QString toolTipTitle();

private:
    QString menuPath();

    QString m_service;
};
