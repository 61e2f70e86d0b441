#pragma once

#include "link/commsettings.h"
#include "link/setupdialog.h"

class MeterList;
class QLineEdit;

// A meter of the meters file: a name and the setup dialog's connection
// fields (same widgets, same checks), filled with the current connection.
// OK keeps them here; config.ini is not touched.
class MeterEditor : public SetupDialog
{
    Q_OBJECT

public:
    // The name is checked against the list's names and rules.
    MeterEditor(const MeterList &list, QWidget *parent = nullptr);

    QString meterName() const;
    LinkSettings link() const { return m_link; }

protected:
    void commit() override;

private:
    const MeterList &m_list;
    QLineEdit *m_name;
    LinkSettings m_link;
};
