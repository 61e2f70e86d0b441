#include "link/setupdialog.h"

#include "base/messageboxes.h"
#include "base/settings.h"
#include "link/commsettings.h"
#include "link/searchdevicedialog.h"
#include "link/serialportnames.h"

#include "ui_setupdialog.h"

#include <QFormLayout>
#include <QHostAddress>
#include <QLineEdit>
#include <QToolButton>
#include <QRegExp>
#include <QRegExpValidator>

SetupDialog::SetupDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SetupDialog>())
    , m_baudRates { { 1200, QStringLiteral("1200") }, { 2400, QStringLiteral("2400") },
        { 4800, QStringLiteral("4800") }, { 9600, QStringLiteral("9600") }, { 19200, QStringLiteral("19200") },
        { 38400, QStringLiteral("38400") }, { 57600, QStringLiteral("57600") }, { 115200, QStringLiteral("115200") } }
    , m_dataBits { { 5, QStringLiteral("5") }, { 6, QStringLiteral("6") }, { 7, QStringLiteral("7") },
        { 8, QStringLiteral("8") } } // The names are the list's source texts; each language shows its own words.
    , m_parities { { 0, tr("None") }, { 2, tr("Even") }, { 3, tr("Odd") }, { 4, tr("Space") }, { 5, tr("Mark") } }
    , m_stopBits { { 1, QStringLiteral("1") }, { 2, QStringLiteral("2") }, { 3, QStringLiteral("1.5") } }
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/setup.png")));
    setFixedSize(size());

    fillFixedLists();
    ui->baudrate->lineEdit()->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[1-9]\\d*")), ui->baudrate));
    ui->edUdpPort->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("\\d{0,5}")), ui->edUdpPort));
    ui->ckDTR->hide();

    connect(ui->ok, &QPushButton::clicked, this, [this] { commit(); });
    connect(ui->cancel, &QPushButton::clicked, this, &SetupDialog::reject);
    connect(ui->bntSearch, &QPushButton::clicked, this, &SetupDialog::searchDialog);
    connect(ui->bntRefreshPorts, &QToolButton::clicked, this, &SetupDialog::refreshPorts);
    connect(ui->gbUdp, &QGroupBox::toggled, ui->gbSerial, [this](bool on) { ui->gbSerial->setChecked(!on); });
    connect(ui->gbSerial, &QGroupBox::toggled, ui->gbUdp, [this](bool on) { ui->gbUdp->setChecked(!on); });

    loadConfig();
}

SetupDialog::~SetupDialog() = default;

void SetupDialog::fillFixedLists()
{
    for (int address = 1; address <= 255; ++address)
        ui->cmbDeviceAddress->addItem(QString::number(address), address);
    const auto fill = [](QComboBox *combo, const QMap<int, QString> &items) {
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            combo->addItem(it.value(), it.key());
    };
    fill(ui->baudrate, m_baudRates);
    fill(ui->databit, m_dataBits);
    fill(ui->parity, m_parities);
    fill(ui->stopbit, m_stopBits);
}

void SetupDialog::loadConfig()
{
    const QSettings &settings = *appSettings();
    LinkSettings link;
    link.deviceAddress = readDeviceAddress(settings);
    link.serial = readSerialSettings(settings);
    link.udp = readUdpSettings(settings);
    link.useUdp = readUseUdp(settings);
    listPorts(hasSerialPort(settings) ? QStringList { link.serial.port } : QStringList());
    showLink(link, readUdpPortText(settings));
}

void SetupDialog::showLink(const LinkSettings &link, const QString &udpPortText)
{
    const SerialSettings &serial = link.serial;
    if (ui->port->findText(serial.port, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0 && !serial.port.isEmpty())
        listPorts({ serial.port });
    ui->cmbDeviceAddress->setCurrentIndex(ui->cmbDeviceAddress->findData(link.deviceAddress));
    ui->port->setCurrentIndex(ui->port->findText(serial.port, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ui->baudrate->setEditText(QString::number(serial.baudRate));
    ui->databit->setCurrentIndex(ui->databit->findData(int(serial.dataBits)));
    ui->parity->setCurrentIndex(ui->parity->findData(int(serial.parity)));
    ui->stopbit->setCurrentIndex(ui->stopbit->findData(int(serial.stopBits)));

    ui->edUdpAddress->setText(link.udp.address);
    ui->edUdpPort->setText(udpPortText);

    ui->ckRTS->setChecked(serial.sendRts);
    ui->ckDTR->setChecked(serial.sendDtr);

    ui->gbUdp->setChecked(link.useUdp);
    ui->gbSerial->setChecked(!link.useUdp);
}

QString SetupDialog::formLink(LinkSettings *link) const
{
    const QVariant address = ui->cmbDeviceAddress->currentData();
    if (address.isValid())
        link->deviceAddress = quint8(address.toInt());
    link->useUdp = ui->gbUdp->isChecked();
    if (!link->useUdp) {
        // The port may be typed in: a device path such as /dev/pts/3.
        const QString port = ui->port->currentText().trimmed();
        const QString error = serialSettingsError(port, ui->baudrate->currentText());
        if (!error.isEmpty())
            return error;
        SerialSettings &serial = link->serial;
        serial.port = port;
        serial.baudRate = ui->baudrate->currentText().toInt();
        serial.dataBits = QSerialPort::DataBits(ui->databit->currentData().toInt());
        serial.parity = QSerialPort::Parity(ui->parity->currentData().toInt());
        serial.stopBits = QSerialPort::StopBits(ui->stopbit->currentData().toInt());
        serial.sendRts = ui->ckRTS->isChecked();
        serial.sendDtr = ui->ckDTR->isChecked();
        return {};
    }
    const QString error = udpSettingsError(ui->edUdpAddress->text(), ui->edUdpPort->text());
    if (!error.isEmpty())
        return error;
    link->udp.address = ui->edUdpAddress->text();
    link->udp.port = quint16(ui->edUdpPort->text().toUInt());
    return {};
}

QFormLayout *SetupDialog::addressForm() const
{
    return ui->addressLayout;
}

void SetupDialog::listPorts(const QStringList &extra)
{
    QStringList names = availableSerialPortNames();
    names.append(extra);
    ui->port->clear();
    ui->port->addItems(orderedPortNames(names));
    if (ui->port->count() == 0)
        ui->port->addItem(QString());
}

void SetupDialog::refreshPorts()
{
    // A port typed in or chosen before stays, also when it is not present.
    const QString current = ui->port->currentText().trimmed();
    listPorts(current.isEmpty() ? QStringList() : QStringList { current });
    ui->port->setCurrentIndex(ui->port->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void SetupDialog::saveConfig()
{
    QSettings &settings = *appSettings();
    // Stored before any check, so a refused save keeps the chosen address too.
    // With nothing selected (a stored address outside 1..255) the key is kept.
    const QVariant address = ui->cmbDeviceAddress->currentData();
    if (address.isValid())
        writeDeviceAddress(settings, address.toInt());

    LinkSettings link;
    const QString error = formLink(&link);
    if (!error.isEmpty()) {
        showCriticalBox(error, this);
        return;
    }
    if (link.useUdp)
        writeUdpSettings(settings, ui->edUdpAddress->text(), ui->edUdpPort->text());
    else
        writeSerialSettings(settings, link.serial);
    accept();
}

void SetupDialog::searchDialog()
{
    SearchDeviceDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ui->edUdpAddress->setText(addressText(dialog.selectedAddress()));
    ui->edUdpPort->setText(QString::number(dialog.selectedPort()));
}

QString SetupDialog::addressText(const QHostAddress &address)
{
    // Replies come over IPv4, possibly reported in IPv4-mapped IPv6 form.
    return DSearchDeviceThread::senderText(address);
}
