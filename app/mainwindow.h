#pragma once

#include "items/itempage.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

namespace Ui {
class MainWindow;
}
class ConfigTree;
class ElidedLabel;
class MetersPanel;
class QAction;
class QCloseEvent;
class QToolButton;
class QTranslator;
class QTreeWidgetItem;
class QUrl;

// The shell: menus, tool bar, status bar, language, size, and the dialogs
// opened from here. The meter's items live on the item page at its centre;
// the item slots hand over to it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ItemPage *itemPage() const { return m_items; }
    ConfigTree *configTree() const { return m_items->tree(); }
    RefreshThread *refreshThread() { return m_items->refreshThread(); }
    ItemEdit editItem(const QString &name, const QString &value, QString &newValue)
    {
        return m_items->editItem(name, value, newValue);
    }
    bool isItemOperationRunning() const { return m_items->isOperationRunning(); }
    // What the meter last reported, per item index.
    const KnownMeterValues &knownValues() const { return m_items->knownValues(); }
    static QUrl journalFolderUrl();
    // The meters panel once opened; null before.
    MetersPanel *metersPanel() const { return m_meters.get(); }

public slots:
    void slotCommunicationSetup();
    void slotRefresh() { m_items->refresh(); }
    void slotExportItems() { m_items->exportItems(); }
    void slotImportItems() { m_items->importItems(); }
    void slotWriteItems() { m_items->writeItems(); }
    void slotSyncTime() { m_items->syncTime(); }
    void slotHistoryData();
    void slotUpdateHardware();
    void slotDeviceMonitor();
    void slotAbout();
    void slotClearItems() { m_items->clearItems(); }
    void slotAddItems(int index, const QStringList &list) { m_items->addItems(index, list); }
    void slotShowErrorMessage(const QString &title, const QString &error, const QString &image);
    void slotItemDoubleClicked(QTreeWidgetItem *item, int column) { m_items->itemDoubleClicked(item, column); }
    void slot_en_US();
    void slot_zh_CH();
    void slot_zh_TW();
    // Enter or F2 on the tree: the current row as if double-clicked.
    void slotEditCurrentItem() { m_items->editCurrentItem(); }
    // Refresh under way: the item waited for in the status bar, a busy cursor.
    void slotRefreshStarted() { m_items->refreshStarted(); }
    void slotRefreshProgress(int index) { m_items->refreshProgress(index); }
    void slotRefreshFinished() { m_items->refreshFinished(); }
    void slotRefreshedItem(int index, const QStringList &list) { m_items->refreshedItem(index, list); }
    void slotOpenJournalFolder() { m_items->openJournalFolder(); }
    // A PDF for the customer: the meter, its items, today's writes and the
    // history chart of a range read first.
    void slotServiceReport();
    // The meters panel: a window of its own beside this one.
    void slotMeters();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void connectActions();
    void applyLanguage(const QString &code);
    void setUpKeyboard();
    void loadQtTranslation(const QString &code);
    void setUpStatusBar();
    void updateConnectionLabel();
    void loadWindowSettings();
    QSize availableScreenSize() const;
    void scaleActionIcons();
    void saveWindowSize();
    void retranslateForm();
    void showRefreshAction(bool running);
    void setUpAddedActions();
    // Where a file went, with 打开文件夹 beside it.
    void showSavedFile(const QString &path, const QString &lead);

    const std::unique_ptr<Ui::MainWindow> ui;
    ItemPage *m_items;
    QTranslator *m_translator;
    QTranslator *m_qtTranslator;
    ElidedLabel *m_statusMessage = nullptr;
    ElidedLabel *m_connectionLabel = nullptr;
    QAction *m_openJournalFolder = nullptr;
    QAction *m_serviceReport = nullptr;
    QToolButton *m_openSavedFolder = nullptr;
    QString m_savedFolder;
    QString m_savedMessage;
    QAction *m_meterAction = nullptr;
    // Without a parent, so that its progress keeps only the panel waiting.
    std::unique_ptr<MetersPanel> m_meters;
};
