// The main window's item operations: tree rows, skip rules, edit, write,
// CSV import/export and the clock.
#include "app/mainwindow.h"

#include "items/configtree.h"

void MainWindow::slotExportItems() {}
void MainWindow::slotImportItems() {}
void MainWindow::slotWriteItems() {}
void MainWindow::slotSyncTime() {}

void MainWindow::slotClearItems()
{
    m_tree->clear();
}

void MainWindow::slotAddItems(int index, const QStringList &list)
{
    if (!isSkippedItem(index, list))
        addItemRow(index, list);
}

void MainWindow::slotItemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::addItemRow(int index, const QStringList &list)
{
    Q_UNUSED(index);
    Q_UNUSED(list);
}

bool MainWindow::isSkippedItem(int index, const QStringList &list)
{
    Q_UNUSED(index);
    Q_UNUSED(list);
    return false;
}

void MainWindow::loadSkipItems() {}

int MainWindow::editItem(const QString &name, const QString &value, QString &newValue)
{
    Q_UNUSED(name);
    Q_UNUSED(value);
    Q_UNUSED(newValue);
    return 0;
}

bool MainWindow::writeItem(DeviceChannel &channel, QTreeWidgetItem *row, const QString &value, int count)
{
    Q_UNUSED(channel);
    Q_UNUSED(row);
    Q_UNUSED(value);
    Q_UNUSED(count);
    return false;
}

QByteArray MainWindow::buildClockFrame(const DeviceChannel &channel)
{
    Q_UNUSED(channel);
    return {};
}
