#include "items/comparedialog.h"

#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

std::function<int(CompareDialog &)> nextAnswer;

enum Column { IndexColumn, NameColumn, MeterColumn, FileColumn, ResultColumn };

const QColor kDifferingColor(255, 224, 178);

} // namespace

CompareDialog::CompareDialog(const ItemComparison &comparison, const QString &connection, QWidget *parent)
    : QDialog(parent)
    , m_comparison(comparison)
    , m_connection(connection)
    , m_summary(new QLabel(this))
    , m_table(new QTableWidget(this))
{
    setObjectName(QStringLiteral("compareDialog"));
    setWindowTitle(tr("与文件比较"));
    m_summary->setObjectName(QStringLiteral("compareSummary"));
    m_summary->setText(m_comparison.summaryText());
    m_table->setObjectName(QStringLiteral("compareTable"));
    fillTable();

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *report = buttons->addButton(tr("导出报告…"), QDialogButtonBox::ActionRole);
    report->setObjectName(QStringLiteral("exportReport"));
    QPushButton *write = buttons->addButton(tr("写入不同项…"), QDialogButtonBox::ActionRole);
    write->setObjectName(QStringLiteral("writeDiffering"));
    // Only values the meter has an item for can be written.
    write->setEnabled(!m_comparison.differingFileRecords().isEmpty());
    QPushButton *close = buttons->addButton(tr("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeCompare"));
    connect(report, &QPushButton::clicked, this, &CompareDialog::slotExportReport);
    connect(write, &QPushButton::clicked, this, [this] { done(WriteDiffering); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(760, 520);
}

void CompareDialog::fillTable()
{
    const QVector<ItemComparisonRow> &rows = m_comparison.rows();
    m_table->setColumnCount(5);
    m_table->setRowCount(rows.size());
    m_table->setHorizontalHeaderLabels(ItemComparison::columnTitles());
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    const QIcon differingIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int i = 0; i < rows.size(); ++i) {
        const ItemComparisonRow &row = rows.at(i);
        const QStringList texts { QStringLiteral("%1").arg(row.index, 2, 10, QLatin1Char('0')), row.shownName(),
            row.meterValue, row.fileValue, ItemComparison::resultText(row.result) };
        for (int column = 0; column < texts.size(); ++column) {
            auto *cell = new QTableWidgetItem(texts.at(column));
            if (row.differs())
                cell->setBackground(kDifferingColor);
            m_table->setItem(i, column, cell);
        }
        if (row.differs())
            m_table->item(i, ResultColumn)->setIcon(differingIcon);
    }
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
}

void CompareDialog::slotExportReport()
{
    const QString path = askSaveFileName(this, tr("导出报告"), kItemFiles,
        QStringLiteral("compare_") + itemsFileName(m_comparison.meterModel(), QDateTime::currentDateTime()),
        tr("Files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const QString error = m_comparison.exportReport(path, m_connection, QDateTime::currentDateTime());
    if (!error.isEmpty())
        showOkBox(QMessageBox::Critical, tr("导出报告"), error, this);
    else
        SavedFileNotice::announce(path);
}

void CompareDialog::setNextAnswer(const std::function<int(CompareDialog &)> &answer)
{
    nextAnswer = answer;
}

int CompareDialog::exec()
{
    if (nextAnswer) {
        const auto answer = nextAnswer;
        nextAnswer = nullptr;
        const int result = answer(*this);
        setResult(result);
        return result;
    }
    return QDialog::exec();
}
