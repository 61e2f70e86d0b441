#pragma once

#include "fleet/fleetrunner.h"
#include "fleet/meterlist.h"
#include "link/dsearchdevicethread.h"
#include "link/searchdevicedialoginterf.h"

#include <QDialog>
#include <QHash>

#include <functional>

class BackgroundJob;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
struct MeterStepResult;

// The meters of meters.txt in the working folder (and those a search found)
// in one table, and what is done to many of them at once. A window of its
// own: the main window stays usable beside it. Each action runs on the fleet
// runner off this window's thread; every row says how its meter is doing.
class MetersPanel : public QDialog, public SearchDeviceDialogInterf
{
    Q_OBJECT

public:
    enum Column { Name, Connection, Address, Model, DeviceName, LastContact, LastWrite, Status, ColumnCount };

    explicit MetersPanel(QWidget *parent = nullptr);
    ~MetersPanel() override;

    QDialog *dialog() override { return this; }
    bool isBusy() const { return m_busy; }
    DSearchDeviceThread *searchThread() { return &m_search; }
    // Where meters.txt is read and written: the working folder.
    static QString meterFilePath();

public slots:
    void slotReload();
    void slotAdd();
    void slotRemove();
    void slotSearch();
    void slotSaveFound();
    void slotSetCurrent();
    void slotReadItems();
    void slotApplyFile();
    void slotSyncTime();
    void slotFirmwareUpdate();

signals:
    // config.ini names another meter now.
    void signalCurrentConnectionChanged();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void slotFoundMeter(const QString &content, const QHostAddress &address, quint16 port);
    void slotSearchRunning(bool idle);

private:
    // One row: a line of the file (entry) or a meter a search found (found).
    struct Row
    {
        int entry = -1;
        int found = -1;
    };
    // What the panel learnt of a meter while it is open.
    struct MeterState
    {
        QString model;
        QString deviceName;
        QString lastContact;
        QString status;
    };
    struct Target
    {
        int row = 0;
        QString name;
        LinkSettings link;
    };
    using Job = std::function<FleetOutcome(int index, BackgroundJob &job)>;

    void buildForm();
    void retranslate();
    void fillTable();
    bool saveList();
    // The selected rows that name a meter the program can reach.
    QVector<Target> selectedTargets() const;
    QVector<Target> targetsOrAsk();
    // The meter's name (its state's key); empty for a line that is no meter.
    QString keyOf(int row) const;
    // Runs job for each target on the fleet runner and waits in a progress
    // dialog whose Cancel stops each meter after the exchange on the line.
    QVector<FleetOutcome> runFleet(
        const QVector<Target> &targets, const QString &label, int maxFailures, const Job &job);
    // From a job: the row's status (and the time of contact) on this window's thread.
    void postStatus(BackgroundJob &job, const Target &target, const MeterStepResult &result);
    void postStatus(BackgroundJob &job, const Target &target, const QString &text);
    void setStatus(const QString &key, const QString &text);
    void showSummary(const QVector<FleetOutcome> &outcomes);
    // From a job: a write the journal did not take; the user hears of it once.
    void postJournalError(BackgroundJob &job, const QString &error);
    bool addFound(const QString &name, const LinkSettings &link);

    MeterList m_list;
    QVector<QPair<QString, LinkSettings>> m_found; // not saved yet
    QVector<Row> m_rows;
    QHash<QString, MeterState> m_state; // by meter name
    QHash<QString, int> m_rowOfName; // the table's row of each meter
    QString m_journalWarning; // not shown yet
    bool m_journalWarned = false;
    DSearchDeviceThread m_search;
    bool m_busy = false;
    bool m_cancelled = false; // the last fleet run was stopped by Cancel

    QTableWidget *m_table = nullptr;
    QLabel *m_summary = nullptr;
    QSpinBox *m_parallel = nullptr;
    QSpinBox *m_maxFailures = nullptr;
    QLabel *m_parallelLabel = nullptr;
    QLabel *m_maxFailuresLabel = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_searchButton = nullptr;
    QPushButton *m_saveFound = nullptr;
    QPushButton *m_setCurrent = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_clock = nullptr;
    QPushButton *m_firmware = nullptr;
    QPushButton *m_close = nullptr;
};
