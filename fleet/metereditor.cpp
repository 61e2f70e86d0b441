#include "fleet/metereditor.h"

#include "base/messageboxes.h"
#include "fleet/meterlist.h"
#include "fleet/targeturi.h"

#include <QFormLayout>
#include <QLineEdit>

MeterEditor::MeterEditor(const MeterList &list, QWidget *parent)
    : SetupDialog(parent)
    , m_list(list)
    , m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("meterEditor"));
    setWindowTitle(tr("添加设备"));
    m_name->setObjectName(QStringLiteral("edMeterName"));
    addressForm()->insertRow(0, tr("名称："), m_name);
    // The setup dialog keeps its size fixed; the added row needs room.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(size()));
    m_name->setFocus();
}

QString MeterEditor::meterName() const
{
    return m_name->text().trimmed();
}

void MeterEditor::commit()
{
    const QString problem = m_list.nameProblem(meterName());
    if (!problem.isEmpty()) {
        showCriticalBox(problem, this);
        return;
    }
    LinkSettings link;
    const QString error = formLink(&link);
    if (!error.isEmpty()) {
        showCriticalBox(error, this);
        return;
    }
    // What the file could not read back (a broadcast address) is not added.
    LinkSettings readBack;
    const QString uriProblem = parseTargetUri(targetUri(link), &readBack);
    if (!uriProblem.isEmpty()) {
        showCriticalBox(uriProblem, this);
        return;
    }
    m_link = link;
    accept();
}
