#include "fleet/meterspanel.h"

#include "base/messageboxes.h"
#include "fleet/metereditor.h"
#include "items/journalreader.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Which meter a journal line belongs to.
QString journalKey(const QString &connection, int address)
{
    return connection + QLatin1Char('|') + QString::number(address);
}

QPushButton *button(QWidget *parent, const char *name)
{
    auto *pushButton = new QPushButton(parent);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

MetersPanel::MetersPanel(QWidget *parent)
    : QDialog(parent)
    , m_search(this)
{
    setObjectName(QStringLiteral("metersDialog"));
    setWindowFlags(Qt::Window);
    setModal(false);
    setWindowIcon(QIcon(QStringLiteral(":/image/setup.png")));
    qRegisterMetaType<QHostAddress>("QHostAddress");
    buildForm();
    retranslate();
    connect(&m_search, &DSearchDeviceThread::signalSetEnableButtons, this, &MetersPanel::slotSearchRunning);
    connect(&m_search, &DSearchDeviceThread::signalInsertDevice, this, &MetersPanel::slotFoundMeter);
    slotReload();
    resize(960, 420);
}

MetersPanel::~MetersPanel()
{
    m_search.requestStop();
    m_search.wait();
}

QString MetersPanel::meterFilePath()
{
    return QDir::current().filePath(QStringLiteral("meters.txt"));
}

void MetersPanel::buildForm()
{
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("meterTable"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    // Every column as wide as what it shows now, the status taking the rest.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(Status, QHeaderView::Stretch);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lbSummary"));

    m_add = button(this, "bntAdd");
    m_remove = button(this, "bntRemove");
    m_searchButton = button(this, "bntSearch");
    m_saveFound = button(this, "bntSave");
    m_setCurrent = button(this, "bntSetCurrent");
    m_read = button(this, "bntRead");
    m_apply = button(this, "bntApply");
    m_clock = button(this, "bntSyncTime");
    m_firmware = button(this, "bntFirmware");
    m_close = button(this, "bntClose");
    m_parallel = new QSpinBox(this);
    m_parallel->setObjectName(QStringLiteral("spParallel"));
    m_parallel->setRange(1, 64);
    m_parallel->setValue(8);
    m_maxFailures = new QSpinBox(this);
    m_maxFailures->setObjectName(QStringLiteral("spMaxFailures"));
    m_maxFailures->setRange(1, 999);
    m_maxFailures->setValue(1);
    m_parallelLabel = new QLabel(this);
    m_parallelLabel->setBuddy(m_parallel);
    m_maxFailuresLabel = new QLabel(this);
    m_maxFailuresLabel->setBuddy(m_maxFailures);

    auto *listButtons = new QHBoxLayout;
    for (QWidget *widget : { m_add, m_remove, m_searchButton, m_saveFound, m_setCurrent })
        listButtons->addWidget(widget);
    listButtons->addStretch();
    listButtons->addWidget(m_parallelLabel);
    listButtons->addWidget(m_parallel);
    listButtons->addWidget(m_maxFailuresLabel);
    listButtons->addWidget(m_maxFailures);
    auto *actionButtons = new QHBoxLayout;
    for (QWidget *widget : { m_read, m_apply, m_clock, m_firmware })
        actionButtons->addWidget(widget);
    actionButtons->addStretch();
    actionButtons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_summary);
    layout->addLayout(listButtons);
    layout->addLayout(actionButtons);

    connect(m_add, &QPushButton::clicked, this, &MetersPanel::slotAdd);
    connect(m_remove, &QPushButton::clicked, this, &MetersPanel::slotRemove);
    connect(m_searchButton, &QPushButton::clicked, this, &MetersPanel::slotSearch);
    connect(m_saveFound, &QPushButton::clicked, this, &MetersPanel::slotSaveFound);
    connect(m_setCurrent, &QPushButton::clicked, this, &MetersPanel::slotSetCurrent);
    connect(m_read, &QPushButton::clicked, this, &MetersPanel::slotReadItems);
    connect(m_apply, &QPushButton::clicked, this, &MetersPanel::slotApplyFile);
    connect(m_clock, &QPushButton::clicked, this, &MetersPanel::slotSyncTime);
    connect(m_firmware, &QPushButton::clicked, this, &MetersPanel::slotFirmwareUpdate);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void MetersPanel::retranslate()
{
    setWindowTitle(tr("多台设备"));
    m_table->setHorizontalHeaderLabels(
        { tr("名称"), tr("连接"), tr("地址"), tr("型号"), tr("设备名称"), tr("上次通信"), tr("上次写入"), tr("状态") });
    m_add->setText(tr("添加…"));
    m_remove->setText(tr("删除"));
    m_searchButton->setText(tr("搜索"));
    m_saveFound->setText(tr("保存"));
    m_setCurrent->setText(tr("设为当前连接"));
    m_read->setText(tr("读取配置"));
    m_apply->setText(tr("应用文件…"));
    m_clock->setText(tr("同步时间"));
    m_firmware->setText(tr("固件更新…"));
    m_close->setText(tr("关闭"));
    m_parallelLabel->setText(tr("同时通信："));
    m_maxFailuresLabel->setText(tr("失败几台后停止："));
}

void MetersPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        fillTable();
    }
    QDialog::changeEvent(event);
}

void MetersPanel::closeEvent(QCloseEvent *event)
{
    m_search.requestStop();
    m_search.wait(1000);
    QDialog::closeEvent(event);
}

void MetersPanel::slotReload()
{
    QString error;
    const bool failed = m_list.read(meterFilePath(), &error) == MeterList::Failed;
    // A file that could not be read is never saved over.
    for (QPushButton *widget : { m_add, m_remove, m_saveFound })
        widget->setEnabled(!failed);
    fillTable();
    m_summary->setText(failed ? error : QString());
}

QString MetersPanel::keyOf(int row) const
{
    const Row &at = m_rows.at(row);
    if (at.found >= 0)
        return m_found.at(at.found).first;
    const MeterEntry &entry = m_list.entries().at(at.entry);
    return entry.kind == MeterEntry::Meter ? entry.name : QString();
}

void MetersPanel::fillTable()
{
    QHash<QString, QString> lastWrite;
    // Until a meter is read while the panel is open, its model and name as
    // the journal recorded them at its last write.
    QHash<QString, QPair<QString, QString>> recordedIdentity;
    const JournalReader journal(QDir::current().filePath(QStringLiteral("journal.csv")));
    for (const JournalEntry &entry : journal.entries()) {
        const QString key = journalKey(entry.connection, entry.deviceAddress);
        lastWrite.insert(key, entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        if (!entry.model.isEmpty() || !entry.deviceName.isEmpty())
            recordedIdentity.insert(key, qMakePair(entry.model, entry.deviceName));
    }

    m_rows.clear();
    for (int i = 0; i < m_list.entries().size(); ++i) {
        if (m_list.entries().at(i).kind != MeterEntry::Comment)
            m_rows.append(Row { i, -1 });
    }
    for (int i = 0; i < m_found.size(); ++i)
        m_rows.append(Row { -1, i });

    m_table->setRowCount(m_rows.size());
    m_rowOfName.clear();
    for (int row = 0; row < m_rows.size(); ++row) {
        QStringList cells;
        bool recorded = false; // model and name from the journal, not read now
        const Row &at = m_rows.at(row);
        const MeterEntry *entry = at.entry >= 0 ? &m_list.entries().at(at.entry) : nullptr;
        if (entry && entry->kind == MeterEntry::Unreadable) {
            cells = QStringList { QString(), entry->text, QString(), QString(), QString(), QString(), QString(),
                tr("无法识别: %1").arg(entry->problem) };
        } else {
            const QString name = keyOf(row);
            m_rowOfName.insert(name, row);
            const LinkSettings link = entry ? entry->link : m_found.at(at.found).second;
            MeterState state = m_state.value(name);
            QString status = state.status;
            if (status.isEmpty() && at.found >= 0)
                status = tr("未保存");
            const QString key = journalKey(link.describe(), link.deviceAddress);
            recorded = state.model.isEmpty() && state.deviceName.isEmpty() && recordedIdentity.contains(key);
            if (recorded) {
                state.model = recordedIdentity.value(key).first;
                state.deviceName = recordedIdentity.value(key).second;
            }
            cells = QStringList { name, link.describe(), QString::number(link.deviceAddress), state.model,
                state.deviceName, state.lastContact, lastWrite.value(key), status };
        }
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem *item = m_table->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_table->setItem(row, column, item);
            }
            item->setText(cells.at(column));
            QString tip = column == Status || column == Connection ? cells.at(column) : QString();
            if (recorded && (column == Model || column == DeviceName) && !cells.at(column).isEmpty())
                tip = tr("上次写入时记录的值");
            item->setToolTip(tip);
        }
    }
}

bool MetersPanel::saveList()
{
    QString error;
    if (m_list.save(meterFilePath(), &error))
        return true;
    showCriticalBox(error, this);
    return false;
}

QVector<MetersPanel::Target> MetersPanel::selectedTargets() const
{
    QVector<Target> targets;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    QVector<int> numbers;
    for (const QModelIndex &index : rows)
        numbers << index.row();
    std::sort(numbers.begin(), numbers.end());
    for (int row : qAsConst(numbers)) {
        const Row &at = m_rows.at(row);
        if (at.found >= 0) {
            targets << Target { row, m_found.at(at.found).first, m_found.at(at.found).second };
        } else {
            const MeterEntry &entry = m_list.entries().at(at.entry);
            if (entry.kind == MeterEntry::Meter)
                targets << Target { row, entry.name, entry.link };
        }
    }
    return targets;
}

QVector<MetersPanel::Target> MetersPanel::targetsOrAsk()
{
    const QVector<Target> targets = selectedTargets();
    if (targets.isEmpty())
        showInformationBox(tr("请先选择设备"), this);
    return targets;
}

void MetersPanel::slotAdd()
{
    MeterEditor editor(m_list, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    QString problem;
    if (!m_list.add(editor.meterName(), editor.link(), &problem)) {
        showCriticalBox(problem, this);
        return;
    }
    saveList();
    fillTable();
}

void MetersPanel::slotRemove()
{
    QVector<int> entries;
    QVector<int> found;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows()) {
        const Row &at = m_rows.at(index.row());
        if (at.found >= 0)
            found << at.found;
        else
            entries << at.entry;
    }
    std::sort(entries.begin(), entries.end(), std::greater<int>());
    std::sort(found.begin(), found.end(), std::greater<int>());
    for (int entry : qAsConst(entries))
        m_list.removeAt(entry);
    for (int meter : qAsConst(found))
        m_found.remove(meter);
    if (!entries.isEmpty())
        saveList();
    m_table->clearSelection();
    fillTable();
}

void MetersPanel::slotSearch()
{
    m_search.startSearch();
}

void MetersPanel::slotSearchRunning(bool idle)
{
    m_searchButton->setEnabled(idle);
}

bool MetersPanel::addFound(const QString &name, const LinkSettings &link)
{
    if (m_list.indexOf(name) >= 0)
        return false;
    for (const auto &meter : qAsConst(m_found)) {
        if (meter.first == name)
            return false;
    }
    m_found.append(qMakePair(name, link));
    return true;
}

void MetersPanel::slotFoundMeter(const QString &content, const QHostAddress &address, quint16 port)
{
    // The meter's reply names its device address where it can; otherwise the current one.
    static const QRegularExpression kAddress(QStringLiteral("地址[:：]?\\s*(\\d{1,3})"));
    const QRegularExpressionMatch match = kAddress.match(content);
    const int deviceAddress = match.hasMatch() ? match.captured(1).toInt() : storedLinkSettings().deviceAddress;
    const QString ip = DSearchDeviceThread::senderText(address);
    const LinkSettings link = LinkSettings::overUdp(ip, port, quint8(qBound(1, deviceAddress, 255)));
    // A meter the panel lists already is not listed twice.
    for (const MeterEntry &entry : m_list.meters()) {
        if (entry.link.meterKey() == link.meterKey())
            return;
    }
    for (const auto &meter : qAsConst(m_found)) {
        if (meter.second.meterKey() == link.meterKey())
            return;
    }
    if (addFound(ip, link) || addFound(ip + QLatin1Char('_') + QString::number(port), link))
        fillTable();
}

void MetersPanel::slotSaveFound()
{
    QVector<int> found;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows()) {
        if (m_rows.at(index.row()).found >= 0)
            found << m_rows.at(index.row()).found;
    }
    if (found.isEmpty()) {
        showInformationBox(tr("请先选择未保存的设备"), this);
        return;
    }
    std::sort(found.begin(), found.end(), std::greater<int>());
    QStringList problems;
    for (int meter : qAsConst(found)) {
        const auto &pair = m_found.at(meter);
        QString problem;
        if (!m_list.add(pair.first, pair.second, &problem)) {
            problems << problem;
            continue;
        }
        m_state[pair.first].status.clear();
        m_found.remove(meter);
    }
    saveList();
    m_table->clearSelection();
    fillTable();
    if (!problems.isEmpty())
        showCriticalBox(problems.join(QLatin1Char('\n')), this);
}

void MetersPanel::slotSetCurrent()
{
    const QVector<Target> targets = selectedTargets();
    if (targets.size() != 1) {
        showInformationBox(tr("请只选择一台设备"), this);
        return;
    }
    storeLinkSettings(targets.first().link);
    emit signalCurrentConnectionChanged();
    setStatus(targets.first().name, tr("已设为当前连接"));
}

void MetersPanel::setStatus(const QString &key, const QString &text)
{
    m_state[key].status = text;
    const int row = m_rowOfName.value(key, -1);
    if (row >= 0) {
        const MeterState &state = m_state.value(key);
        const QStringList cells { state.model, state.deviceName, state.lastContact, state.status };
        const QVector<int> columns { Model, DeviceName, LastContact, Status };
        for (int i = 0; i < columns.size(); ++i) {
            if (QTableWidgetItem *item = m_table->item(row, columns.at(i))) {
                item->setText(cells.at(i));
                if (columns.at(i) == Status)
                    item->setToolTip(cells.at(i));
            }
        }
    }
}
