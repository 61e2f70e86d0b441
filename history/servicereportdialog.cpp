#include "history/servicereportdialog.h"

#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "history/dayedit.h"
#include "history/historyexport.h"
#include "history/historyrequest.h"
#include "history/servicereport.h"
#include "history/servicereportwriter.h"
#include "link/commsettings.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

ServiceReportDialog::ServiceReportDialog(const KnownMeterValues &values, QWidget *parent)
    : QDialog(parent)
    , m_values(values)
    , m_start(new QDateEdit(this))
    , m_end(new QDateEdit(this))
    , m_state(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("服务报告"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_start->setObjectName(QStringLiteral("dateStart"));
    m_end->setObjectName(QStringLiteral("dateEnd"));
    const QDate today = QDate::currentDate();
    m_start->setDate(today.addDays(-6));
    m_end->setDate(today);
    for (QDateEdit *edit : { m_start, m_end })
        setUpDayEdit(edit);
    m_state->setObjectName(QStringLiteral("labelStatus"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("读取并生成…"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    auto *form = new QFormLayout;
    form->addRow(tr("起始日期:"), m_start);
    form->addRow(tr("结束日期:"), m_end);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("报告包含配置项的最后读取值、今天的写入记录和这段时间的历史数据图表。"), this));
    layout->addLayout(form);
    layout->addWidget(m_state);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &ServiceReportDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &ServiceReportDialog::reject);
    connect(&m_reader, &ReadThread::signalAddText, this, [this](const QString &text) {
        m_text += text;
        m_lines += text.count(QLatin1Char('\n'));
        m_state->setText(tr("正在读取历史数据…已收到 %1 行", nullptr, m_lines).arg(m_lines));
    });
    connect(&m_reader, &ReadThread::signalFailed, this,
        [this](const QString &, const LinkFailure &failure) { m_error = failure.text(); });
    connect(&m_reader, &QThread::finished, this, &ServiceReportDialog::readFinished);
}

ServiceReportDialog::~ServiceReportDialog()
{
    m_reader.stop();
    m_reader.wait();
}

void ServiceReportDialog::setBusy(bool busy)
{
    m_start->setEnabled(!busy);
    m_end->setEnabled(!busy);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!busy);
}

void ServiceReportDialog::accept()
{
    if (m_reader.isRunning())
        return;
    if (m_start->date() > m_end->date()) {
        showError(tr("服务报告"), QCoreApplication::translate("HistoryData", "起始日期应该小于或等于结束日期"));
        return;
    }
    m_file = askSaveFileName(this, tr("服务报告"), kHistoryFiles, serviceReportFileName(QDateTime::currentDateTime()),
        tr("Files (*.pdf)"), QStringLiteral("pdf"));
    if (m_file.isEmpty())
        return;
    m_text.clear();
    m_error.clear();
    m_lines = 0;
    m_state->setText(tr("正在读取历史数据…已收到 %1 行", nullptr, 0).arg(0));
    setBusy(true);
    m_link = storedLinkSettings();
    m_reader.setLinkSettings(m_link);
    m_reader.startQuery(buildHistoryRequest(m_start->date(), m_end->date()));
}

void ServiceReportDialog::reject()
{
    if (m_reader.isRunning()) {
        // Cancel while reading stops the reader; no report is written.
        m_file.clear();
        m_reader.stop();
        return;
    }
    QDialog::reject();
}

void ServiceReportDialog::readFinished()
{
    setBusy(false);
    if (m_file.isEmpty()) {
        m_state->setText(tr("已取消"));
        return;
    }
    if (!m_error.isEmpty()) {
        m_state->clear();
        showError(tr("服务报告"), m_error);
        return;
    }
    m_state->setText(tr("正在生成报告…"));
    const QString error = writeServiceReport(
        m_file, collectServiceReport(m_values, m_link, m_start->date(), m_end->date(), historyTextLines(m_text)));
    if (!error.isEmpty()) {
        m_state->clear();
        showError(tr("服务报告"), error);
        return;
    }
    m_written = m_file;
    SavedFileNotice::announce(m_written);
    QDialog::accept();
}

void ServiceReportDialog::showError(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, this);
    setOkButtonText(box, QCoreApplication::translate("HistoryData", "确定"));
    box.exec();
}
