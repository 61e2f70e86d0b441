#pragma once

#include "link/dsearchdevicethread.h"
#include "link/searchdevicedialoginterf.h"

#include <QDialog>
#include <QHostAddress>
#include <QMap>
#include <QPair>

#include <memory>

class QListWidgetItem;

namespace Ui {
class SearchDeviceDialog;
}

// Lists the instruments that answer the search broadcast; the one chosen
// gives its sender address and port back to the setup dialog.
class SearchDeviceDialog : public QDialog, public SearchDeviceDialogInterf
{
    Q_OBJECT

public:
    explicit SearchDeviceDialog(QWidget *parent = nullptr);
    ~SearchDeviceDialog() override;

    QDialog *dialog() override { return this; }

    // Null / 0 until a device is committed.
    QHostAddress selectedAddress() const { return m_selectedAddress; }
    quint16 selectedPort() const { return m_selectedPort; }

    bool isSearching() const { return m_worker.isRunning(); }

    // While a search runs (Cancel, Escape) it stops the search instead; the
    // dialog stays open with the devices listed so far.
    void done(int result) override;

public slots:
    void slotCommit();
    void slotSearchDevice();
    void slotSetEnableButtons(bool enable);
    void slotInsertDevice(const QString &content, const QHostAddress &hostAddress, quint16 hostPort);
    void slotItemDoubleClicked(QListWidgetItem *item);

private:
    void commit(QListWidgetItem *item);
    void stopSearch();

    const std::unique_ptr<Ui::SearchDeviceDialog> ui;
    DSearchDeviceThread m_worker;
    QHostAddress m_selectedAddress;
    quint16 m_selectedPort = 0;
    QMap<QListWidgetItem *, QPair<QHostAddress, quint16>> m_devices;
};
