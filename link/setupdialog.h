#pragma once

#include <QDialog>
#include <QMap>

#include <memory>

struct LinkSettings;

namespace Ui {
class SetupDialog;
}

// Chooses how the instrument is reached: serial line or UDP, plus its device
// address. Reads the settings when built and writes them on OK.
class SetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SetupDialog(QWidget *parent = nullptr);
    ~SetupDialog() override;

public slots:
    void loadConfig();
    void saveConfig();
    void searchDialog();
    // Lists the ports present now, keeping the one shown.
    void refreshPorts();

protected:
    // The form's connection fields as one connection (on the serial side
    // the port may be typed in); empty when they make one, otherwise the
    // message to show.
    QString formLink(LinkSettings *link) const;
    void showLink(const LinkSettings &link, const QString &udpPortText);
    // OK: stores the form in config.ini. A dialog that keeps a connection
    // elsewhere (the meters panel's editor) takes it over here.
    virtual void commit() { saveConfig(); }
    // The device address's form, for a dialog that adds fields of its own.
    class QFormLayout *addressForm() const;

private:
    void fillFixedLists();
    // The ports present plus the given names, ordered; one empty item if none.
    void listPorts(const QStringList &extra);
    // The dotted form of a found device's address as it goes into the form.
    static QString addressText(const class QHostAddress &address);

    const std::unique_ptr<Ui::SetupDialog> ui;
    // Held as maps so each combo lists its items in ascending order of the number.
    QMap<int, QString> m_baudRates;
    QMap<int, QString> m_dataBits;
    QMap<int, QString> m_parities;
    QMap<int, QString> m_stopBits;
};
