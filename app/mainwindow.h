#pragma once

#include "items/refreshthread.h"

#include <QMainWindow>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace Ui {
class MainWindow;
}
class ConfigTree;
class DeviceChannel;
class QAction;
struct ItemWriteResult;
class QCloseEvent;
class QLabel;
class QTranslator;
class QTreeWidgetItem;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void showErrorBox(const QString &title, const QString &text, const QIcon &icon);
    void applyLanguage(const QString &code);

    ConfigTree *configTree() const { return m_tree; }
    RefreshThread *refreshThread() { return &m_refreshThread; }

    // Item operations, shared by the slots and usable without dialogs.
    void addItemRow(int index, const QStringList &list);
    bool isSkippedItem(int index, const QStringList &list);
    void loadSkipItems();
    int editItem(const QString &name, const QString &value, QString &newValue);
    bool writeItem(DeviceChannel &channel, QTreeWidgetItem *row, const QString &value, int count);
    static QByteArray buildClockFrame(const DeviceChannel &channel);
    // The work behind the item slots, once the user has chosen a file or the
    // channel is open.
    bool writeItems(DeviceChannel &channel);
    bool openWriteChannel(DeviceChannel &channel);
    void writeEditedItem(QTreeWidgetItem *row, const QString &value, int count);
    void exportItemsTo(const QString &path);
    void importItemsFrom(const QString &path);
    void syncTime(DeviceChannel &channel);
    bool isItemOperationRunning() const { return m_itemOperationRunning; }

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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
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
    bool showWriteResult(QTreeWidgetItem *row, const ItemWriteResult &result, int count);
    // An item operation runs with the actions that reach the meter or change
    // the tree disabled; false when one runs already.
    bool beginItemOperation();
    void endItemOperation();

    Ui::MainWindow *ui;
    ConfigTree *m_tree;
    RefreshThread m_refreshThread;
    QTranslator *m_translator;
    QTranslator *m_qtTranslator;
    QLabel *m_connectionLabel = nullptr;
    QString m_refreshMessage;
    QMap<QString, QSet<QString>> m_skipItems;
    // Device-name row kept back until the next model row decides it.
    bool m_hasHeldRow = false;
    int m_heldIndex = 0;
    QStringList m_heldFields;
    bool m_itemOperationRunning = false;
    QList<QAction *> m_disabledActions;
};
