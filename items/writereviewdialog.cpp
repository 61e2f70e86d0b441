#include "items/writereviewdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

std::function<bool(WriteReviewDialog &)> nextAnswer;

enum Column { RowColumn, IndexColumn, NameColumn, MeterColumn, WriteColumn, NoteColumn };

} // namespace

WriteReviewDialog::WriteReviewDialog(const QVector<ReviewRow> &rows, QWidget *parent)
    : QDialog(parent)
    , m_rows(rows)
    , m_list(new QTreeWidget(this))
    , m_summary(new QLabel(this))
    , m_note(new QLabel(this))
{
    setWindowTitle(tr("写入前核对"));
    setObjectName(QStringLiteral("WriteReviewDialog"));
    m_list->setObjectName(QStringLiteral("reviewList"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    // The list's row number and the meter's item index differ by one, or
    // more where rows are hidden: both are shown, each under its own name.
    m_list->setHeaderLabels(
        { tr("行号"), tr("配置项序号"), tr("名称"), tr("设备中的值"), tr("将写入的值"), tr("说明") });
    m_list->headerItem()->setToolTip(RowColumn, tr("配置列表中显示的行号"));
    m_list->headerItem()->setToolTip(IndexColumn, tr("设备的配置项序号,文件和vexa-cli使用该序号"));
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    const QBrush changed(QColor(255, 236, 179));
    const QBrush unwritable(QColor(255, 205, 210));
    for (const ReviewRow &row : qAsConst(m_rows)) {
        const QString meter = row.state == ReviewRow::State::Unknown ? QStringLiteral("—") : row.meterValue;
        auto *item = new QTreeWidgetItem(m_list,
            { row.row > 0 ? QStringLiteral("%1").arg(row.row, 2, 10, QLatin1Char('0')) : QString(),
                QString::number(row.request.index), row.request.name, meter, row.request.value, row.problem });
        // A value that cannot be written is never sent: its row cannot be checked.
        if (row.problem.isEmpty())
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        else
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setCheckState(RowColumn, row.checked ? Qt::Checked : Qt::Unchecked);
        const bool marked = !row.problem.isEmpty() || row.state == ReviewRow::State::Changed;
        for (int column = 0; marked && column < m_list->columnCount(); ++column) {
            item->setBackground(column, row.problem.isEmpty() ? changed : unwritable);
            item->setToolTip(column, row.problem);
        }
    }
    connect(m_list, &QTreeWidget::itemChanged, this, &WriteReviewDialog::updateSummary);

    auto *buttons = new QDialogButtonBox(this);
    m_write = buttons->addButton(tr("写入选中项"), QDialogButtonBox::AcceptRole);
    m_write->setObjectName(QStringLiteral("writeChecked"));
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_summary->setObjectName(QStringLiteral("reviewSummary"));
    m_note->setObjectName(QStringLiteral("reviewNote"));
    m_note->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_list);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(720, 480);
    updateSummary();
}

QVector<ReviewRow> WriteReviewDialog::rows() const
{
    QVector<ReviewRow> rows = m_rows;
    for (int i = 0; i < rows.size(); ++i)
        rows[i].checked = rows.at(i).problem.isEmpty() && m_list->topLevelItem(i)->checkState(RowColumn) == Qt::Checked;
    return rows;
}

void WriteReviewDialog::setChecked(int row, bool checked)
{
    if (QTreeWidgetItem *item = m_list->topLevelItem(row))
        item->setCheckState(RowColumn, checked ? Qt::Checked : Qt::Unchecked);
}

QString WriteReviewDialog::summaryText() const
{
    return m_summary->text();
}

void WriteReviewDialog::setNote(const QString &note)
{
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

QString WriteReviewDialog::noteText() const
{
    return m_note->text();
}

void WriteReviewDialog::updateSummary()
{
    const ReviewSummary summary = summarizeReview(rows());
    m_summary->setText(
        tr("将写入%1项,未改变%2项,设备值未知%3项").arg(summary.toWrite).arg(summary.unchanged).arg(summary.unknown));
    m_write->setEnabled(summary.toWrite > 0);
}

void WriteReviewDialog::setNextAnswer(const std::function<bool(WriteReviewDialog &)> &answer)
{
    nextAnswer = answer;
}

int WriteReviewDialog::exec()
{
    if (nextAnswer) {
        const auto answer = nextAnswer;
        nextAnswer = nullptr;
        const int result = answer(*this) ? Accepted : Rejected;
        setResult(result);
        return result;
    }
    return QDialog::exec();
}
