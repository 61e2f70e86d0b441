#pragma once

#include "items/itemrowfilter.h"
#include "items/journal.h"
#include "items/knownvalues.h"
#include "items/refreshthread.h"

#include <QMainWindow>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace Ui {
class MainWindow;
}
class ConfigTree;
class DeviceChannel;
class QAction;
struct ItemWriteResult;
class QCloseEvent;
class QLabel;
class QUrl;
struct ItemWriteRequest;
class QTranslator;
class QTreeWidgetItem;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ConfigTree *configTree() const { return m_tree; }
    RefreshThread *refreshThread() { return &m_refreshThread; }

    // The edit dialog for a row's name and value: 0 cancelled, 1 a command
    // confirmed, 2 a new value in newValue.
    int editItem(const QString &name, const QString &value, QString &newValue);
    bool isItemOperationRunning() const { return m_itemOperationRunning; }
    // What the meter last reported, per item index.
    const KnownMeterValues &knownValues() const { return m_knownValues; }
    // The folder journal.csv is written to (the working directory).
    static QUrl journalFolderUrl();

public slots:
    void slotCommunicationSetup();
    void slotRefresh();
    void slotExportItems();
    void slotImportItems();
    void slotWriteItems();
    void slotSyncTime();
    void slotHistoryData();
    void slotUpdateHardware();
    void slotDeviceMonitor();
    void slotAbout();
    void slotClearItems();
    void slotAddItems(int index, const QStringList &list);
    void slotShowErrorMessage(const QString &title, const QString &error, const QString &image);
    void slotItemDoubleClicked(QTreeWidgetItem *item, int column);
    void slot_en_US();
    void slot_zh_CH();
    void slot_zh_TW();
    // Enter or F2 on the tree: the current row as if double-clicked.
    void slotEditCurrentItem();
    // Refresh under way: the item waited for in the status bar, a busy cursor.
    void slotRefreshStarted();
    void slotRefreshProgress(int index);
    void slotRefreshFinished();
    void slotRefreshedItem(int index, const QStringList &list);
    void slotOpenJournalFolder();
    // A PDF for the customer: the meter, its items, today's writes and the
    // history chart of a range read first.
    void slotServiceReport();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showErrorBox(const QString &title, const QString &text, const QIcon &icon);
    void applyLanguage(const QString &code);
    void addItemRow(int index, const QStringList &list);
    bool isSkippedItem(int index, const QStringList &list);
    void loadSkipItems();
    bool writeItem(
        DeviceChannel &channel, const LinkSettings &link, QTreeWidgetItem *row, const QString &value, int count);
    static QByteArray buildClockFrame(const DeviceChannel &channel);
    bool openWriteChannel(DeviceChannel &channel, const LinkSettings &link);
    void syncTime(DeviceChannel &channel, const LinkSettings &link);
    void writeEditedItem(QTreeWidgetItem *row, const QString &value, int count);
    // The work behind the file slots, once the user has chosen the file.
    void exportItemsTo(const QString &path);
    void importItemsFrom(const QString &path);
    // File choices of the item slots: suggested name, folder kept per kind.
    QString askItemsExportFile();
    QString askItemsImportFile();
    void setUpKeyboard();
    void loadQtTranslation(const QString &code);
    void setUpConnectionLabel();
    void updateConnectionLabel();
    void loadWindowSettings();
    QSize availableScreenSize() const;
    void scaleActionIcons();
    void saveWindowSize();
    void retranslateForm();
    // Shows a write's outcome on its row; false (after an error box) when the
    // write was not confirmed.
    bool showWriteResult(QTreeWidgetItem *row, const ItemWriteResult &result, const QString &error, int count);
    // An item operation runs with the actions that reach the meter or change
    // the tree disabled; false when one runs already.
    bool beginItemOperation();
    void endItemOperation();
    void setUpWriteSafety();
    // The batch's rows (those with a value, in tree order) and their requests.
    void collectBatch(QVector<QTreeWidgetItem *> &rows, QVector<ItemWriteRequest> &requests) const;
    // Lets the user pick the rows to write; false when nothing is to be written.
    bool reviewBatch(QVector<QTreeWidgetItem *> &rows, QVector<ItemWriteRequest> &requests);
    using BatchStart = std::function<void(int row)>;
    using BatchResult = std::function<bool(int row, const ItemWriteResult &result)>;
    // Sends the rows and reports each step; false when no channel opened.
    using BatchRunner = std::function<bool(const BatchStart &, const BatchResult &, const std::atomic_bool *stop)>;
    // A batch with its progress dialog, row updates, journal and summary.
    bool runBatch(const LinkSettings &link, const QVector<QTreeWidgetItem *> &rows,
        const QVector<ItemWriteRequest> &requests, const BatchRunner &runner);
    // Marks the row, remembers the answer and journals the attempt.
    void recordWrite(
        QTreeWidgetItem *row, const QString &value, const ItemWriteResult &result, int count, const LinkSettings &link);
    void appendJournal(const LinkSettings &link, int index, const QString &name, const QString &oldValue,
        const QString &requested, const QString &answered, const QString &result, int row = 0);

    const std::unique_ptr<Ui::MainWindow> ui;
    ConfigTree *m_tree;
    RefreshThread m_refreshThread;
    QTranslator *m_translator;
    QTranslator *m_qtTranslator;
    QLabel *m_connectionLabel = nullptr;
    QString m_refreshMessage;
    // SkipItems and the device-name row kept back until the next model row decides it.
    ItemRowFilter m_rowFilter;
    bool m_itemOperationRunning = false;
    QList<QAction *> m_disabledActions;
    KnownMeterValues m_knownValues;
    QString m_refreshConnection;
    Journal m_journal;
    bool m_journalWarned = false;
    QString m_journalWarning; // shown once the operation has ended
    QAction *m_openJournalFolder = nullptr;
    QAction *m_serviceReport = nullptr;
    QLabel *m_writeSummary = nullptr;
};
