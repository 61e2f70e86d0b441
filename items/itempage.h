#pragma once

#include "items/itembatchwrite.h"
#include "items/itemcsv.h"
#include "items/itemrowfilter.h"
#include "items/journal.h"
#include "items/knownvalues.h"
#include "items/refreshthread.h"

#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <optional>

class ConfigTree;
class ElidedLabel;
class ItemFilterEdit;
class QAction;
class QMenu;
class QShortcut;
class QIcon;
class QLabel;
class QStatusBar;
class QTreeWidgetItem;
class QUrl;
struct ItemWriteRequest;
struct ItemWriteResult;

// What the edit of a row came to.
enum class ItemEdit {
    Cancelled,
    CommandConfirmed, // a command item: sent without a value
    NewValue, // a value was chosen
};
Q_DECLARE_METATYPE(ItemEdit)

// The page of the meter's items: the tree with its filter, the refresh
// worker that fills it, the values the meter reported, the write journal and
// every operation on the items (edit and write, batch write with the backup
// before it, import, export, compare with a file, restore a backup, clock). Each row
// carries its item record; the texts shown are made from it. Messages go to
// the window's status bar; while an operation runs, the actions handed in
// are disabled.
class ItemPage : public QWidget
{
    Q_OBJECT

public:
    // The row's item record (ItemRecord), beside its index in Qt::UserRole.
    static constexpr int kRecordRole = Qt::UserRole + 1;
    // How long a result stays in the status bar.
    static constexpr int kResultMessageMs = 5000;

    ItemPage(QStatusBar *statusBar, QWidget *parent = nullptr);
    ~ItemPage() override;

    ConfigTree *tree() const { return m_tree; }
    RefreshThread *refreshThread() { return &m_refreshThread; }
    const KnownMeterValues &knownValues() const { return m_knownValues; }
    bool isOperationRunning() const { return m_operationRunning; }
    // Disabled while an item operation runs: whatever reaches the meter or changes the tree.
    void setGuardedActions(const QList<QAction *> &actions)
    {
        m_guardedActions = actions + QList<QAction *> { m_compareAction, m_restoreAction };
    }
    // The label of a batch's summary, for the window's status bar.
    QLabel *writeSummaryLabel() const;
    // Another meter: the last batch's summary is not about it.
    void clearWriteSummary();

    static ItemRecord recordOf(const QTreeWidgetItem *row);
    // The edit dialog for a row's texts as shown; a new value goes to newValue.
    ItemEdit editItem(const QString &name, const QString &value, QString &newValue);
    // An error box over the window; its first line also goes to the status bar.
    void showErrorBox(const QString &title, const QString &text, const QIcon &icon);
    // The folder journal.csv is written to (the working directory).
    static QUrl journalFolderUrl();

    void refresh();
    // Ends a refresh and waits for its worker: the window is closing.
    void stopRefresh();
    void exportItems();
    void importItems();
    void writeItems();
    void syncTime();
    void clearItems();
    void addItems(int index, const QStringList &list);
    void itemDoubleClicked(QTreeWidgetItem *item, int column);
    void editCurrentItem();
    void refreshStarted();
    void refreshProgress(int index);
    void refreshFinished();
    void refreshedItem(int index, const QStringList &list);
    void openJournalFolder();
    // The page's own actions (compare, restore) in the window's menu, before `before`.
    void placeActions(QMenu *menu, QAction *before);
    ItemFilterEdit *filter() const { return m_filter; }
    // Compares the meter's known values (read first when none) with an item
    // file; the differing rows can go to the write review from there.
    void compareWithFile();
    // Loads a backup as an import does and always shows the write review.
    void restoreBackup();

protected:
    void changeEvent(QEvent *event) override;

private:
    // The batch write flow (review, backup, writes), in a file of its own,
    // works on the page's rows, values and journal.
    friend class ItemBatchWrite;

    void addItemRow(const ItemRecord &record);
    bool isSkippedItem(const ItemRecord &record);
    void exportItemsTo(const QString &path);
    void importItemsFrom(const QString &path);
    // Shows a file's rows in place of the list: values from the file are
    // marked until written or refreshed, rows 01/02 keep what the meter said.
    void showFileRecords(const QVector<ItemRecord> &records);
    QString askItemsExportFile();
    // The write runs off the window's thread behind a modal progress.
    void writeEditedItem(QTreeWidgetItem *row, const QString &value, int count);
    // Shows a write's outcome on its row; false (after an error box) when the
    // write was not confirmed.
    bool showWriteResult(QTreeWidgetItem *row, const ItemWriteResult &result, const QString &error, int count);
    // An item operation runs with the guarded actions disabled; false when one runs already.
    bool beginOperation();
    void endOperation();
    // Marks the row, remembers the answer and journals the attempt.
    void recordWrite(
        QTreeWidgetItem *row, const QString &value, const ItemWriteResult &result, int count, const LinkSettings &link);
    void appendJournal(const LinkSettings &link, int index, const QString &name, const QString &oldValue,
        const QString &requested, const QString &answered, const QString &result, int row = 0);
    void setUpRefresh();
    void setUpKeyboard();
    void setUpTools();
    void retranslate();
    // "显示 n / m 项" while a filter is set (not over a refresh's progress).
    void showShownCount();
    void showWaitCountdown();
    void showWriteSummary(const BatchWriteCounts &counts);
    // Reads the meter's list into the known values (the tree stays as it is);
    // false after an error box.
    bool readKnownValues(const LinkSettings &link, const QString &title);

    QStatusBar *m_statusBar;
    ConfigTree *m_tree;
    RefreshThread m_refreshThread;
    QString m_refreshMessage;
    // While a refresh waits: the countdown of its time-out, and Escape to stop it.
    QTimer m_waitCountdown;
    QElapsedTimer m_itemAsked;
    QString m_readingMessage;
    QShortcut *m_stopRefreshKey = nullptr;
    QString m_refreshConnection;
    // SkipItems and the device-name row kept back until the next model row decides it.
    ItemRowFilter m_rowFilter;
    KnownMeterValues m_knownValues;
    Journal m_journal;
    bool m_journalWarned = false;
    QString m_journalWarning; // shown once the operation has ended
    bool m_operationRunning = false;
    QList<QAction *> m_guardedActions;
    QList<QAction *> m_disabledActions;
    ElidedLabel *m_writeSummary;
    std::optional<BatchWriteCounts> m_writeCounts; // kept for a change of language
    ItemFilterEdit *m_filter;
    QAction *m_compareAction;
    QAction *m_restoreAction;
    QString m_shownMessage; // "显示 n / m 项" as last shown
    QString m_batchBackup; // the backup of the batch being written (ItemBatchWrite), for its journal lines
};
