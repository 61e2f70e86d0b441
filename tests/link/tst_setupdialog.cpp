#include "base/settings.h"
#include "link/dsearchdevicethread.h"
#include "link/searchdevicedialog.h"
#include "link/serialportnames.h"
#include "link/setupdialog.h"
#include "sim/searchresponder.h"
#include "sim/simrunner.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/privatenetwork.h"
#include "tests/support/tempworkdir.h"
#include "tests/support/childwidget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

QStringList itemTexts(QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QVariantList itemData(QComboBox *combo)
{
    QVariantList data;
    for (int i = 0; i < combo->count(); ++i)
        data << combo->itemData(i);
    return data;
}

// What config.ini holds, key by key.
QMap<QString, QString> storedKeys()
{
    QSettings *settings = appSettings();
    QMap<QString, QString> keys;
    for (const QString &key : settings->allKeys())
        keys.insert(key, settings->value(key).toString());
    return keys;
}

} // namespace

class TstSetupDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<TempWorkDir>();
        // No search here may leave the machine: unless a test points it at
        // loopback, it goes nowhere.
        DSearchDeviceThread::setRouteOverride({ {}, DSearchDeviceThread::kSearchPort, 300 });
        setSerialPortNamesSource([this] { return m_ports; });
        m_ports = QStringList { QStringLiteral("COM1") };
    }
    void cleanup()
    {
        singleton<Config>::release();
        setSerialPortNamesSource({});
        DSearchDeviceThread::clearRouteOverride();
        m_dir.reset();
    }

    void formAndFixedLists()
    {
        SetupDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("串口设置"));
        QCOMPARE(dialog.size(), QSize(482, 302));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(!dialog.windowIcon().isNull());
        QVERIFY(child<QCheckBox>(dialog, "ckDTR")->isHidden());

        auto *address = child<QComboBox>(dialog, "cmbDeviceAddress");
        QCOMPARE(address->count(), 255);
        QCOMPARE(address->itemText(0), QStringLiteral("1"));
        QCOMPARE(address->itemData(254).toInt(), 255);
        QCOMPARE(itemTexts(child<QComboBox>(dialog, "baudrate")),
            (QStringList { "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200" }));
        QCOMPARE(itemData(child<QComboBox>(dialog, "baudrate")).last().toInt(), 115200);
        QCOMPARE(itemTexts(child<QComboBox>(dialog, "databit")), (QStringList { "5", "6", "7", "8" }));
        QCOMPARE(
            itemTexts(child<QComboBox>(dialog, "parity")), (QStringList { "None", "Even", "Odd", "Space", "Mark" }));
        QCOMPARE(itemData(child<QComboBox>(dialog, "parity")), (QVariantList { 0, 2, 3, 4, 5 }));
        // Ordered by the serial port's numbers: "1.5" is 3 and follows "2".
        QCOMPARE(itemTexts(child<QComboBox>(dialog, "stopbit")), (QStringList { "1", "2", "1.5" }));
        QCOMPARE(itemData(child<QComboBox>(dialog, "stopbit")), (QVariantList { 1, 2, 3 }));
    }

    void portList_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("sorted") << QStringList { "COM10", "COM2", "COM1" } << QVariant()
                                << QStringList { "COM1", "COM2", "COM10" } << QString();
        QTest::newRow("stored present") << QStringList { "COM10", "COM2", "COM1" } << QVariant("COM10")
                                        << QStringList { "COM1", "COM2", "COM10" } << "COM10";
        QTest::newRow("stored but removed")
            << QStringList { "COM1", "COM3" } << QVariant("COM7") << QStringList { "COM1", "COM3", "COM7" } << "COM7";
        QTest::newRow("nothing at all") << QStringList {} << QVariant() << QStringList { "" } << QString();
        QTest::newRow("stored only") << QStringList {} << QVariant("ttyUSB0") << QStringList { "ttyUSB0" } << "ttyUSB0";
        QTest::newRow("stored empty") << QStringList {} << QVariant("") << QStringList { "" } << QString();
        QTest::newRow("case sensitive") << QStringList { "COM1" } << QVariant("com1") << QStringList { "COM1", "com1" }
                                        << "com1";
    }
    void portList()
    {
        QFETCH(QStringList, present);
        QFETCH(QVariant, stored);
        QFETCH(QStringList, listed);
        QFETCH(QString, selected);
        m_ports = present;
        if (stored.isValid())
            appSettings()->setValue("serial/port", stored);
        SetupDialog dialog;
        auto *port = child<QComboBox>(dialog, "port");
        QCOMPARE(itemTexts(port), listed);
        QCOMPARE(port->currentText(), selected);
    }

    void typedPortIsSavedAndSurvivesARelist_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("pty") << "/dev/pts/3"
                             << "/dev/pts/3";
        QTest::newRow("by-id with blanks") << "  /dev/serial/by-id/usb-FTDI_A1-if00-port0 "
                                           << "/dev/serial/by-id/usb-FTDI_A1-if00-port0";
        QTest::newRow("listed one") << "COM1"
                                    << "COM1";
    }
    void typedPortIsSavedAndSurvivesARelist()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        SetupDialog dialog;
        auto *port = child<QComboBox>(dialog, "port");
        QVERIFY(port->isEditable());
        port->setEditText(typed);
        // A USB adapter plugged in meanwhile shows up; the typed port stays.
        m_ports << QStringLiteral("ttyUSB0");
        child<QAbstractButton>(dialog, "bntRefreshPorts")->click();
        QVERIFY2(itemTexts(port).contains(QStringLiteral("ttyUSB0")), qPrintable(itemTexts(port).join(',')));
        QCOMPARE(port->currentText(), saved);
        QCOMPARE(port->count(), saved == QLatin1String("COM1") ? 2 : 3);
        child<QPushButton>(dialog, "ok")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(appSettings()->value("serial/port").toString(), saved);
        SetupDialog again;
        QCOMPARE(child<QComboBox>(again, "port")->currentText(), saved);
    }

    void storedValuesAreShown()
    {
        QSettings *settings = appSettings();
        settings->setValue("device/address", 300);
        settings->setValue("serial/baudrate", 14400);
        settings->setValue("serial/databits", 7);
        settings->setValue("serial/parity", 3);
        settings->setValue("serial/stopbits", 3);
        settings->setValue("serial/send_rts", true);
        settings->setValue("udp/address", "10.0.0.9");
        settings->setValue("udp/port", "8234");
        settings->setValue("communicate/udp", 1);
        SetupDialog dialog;
        QCOMPARE(child<QComboBox>(dialog, "cmbDeviceAddress")->currentText(), QStringLiteral("44"));
        QCOMPARE(child<QComboBox>(dialog, "baudrate")->currentText(), QStringLiteral("14400"));
        QCOMPARE(child<QComboBox>(dialog, "databit")->currentText(), QStringLiteral("7"));
        QCOMPARE(child<QComboBox>(dialog, "parity")->currentText(), QStringLiteral("Odd"));
        QCOMPARE(child<QComboBox>(dialog, "stopbit")->currentText(), QStringLiteral("1.5"));
        QVERIFY(child<QCheckBox>(dialog, "ckRTS")->isChecked());
        QCOMPARE(child<QLineEdit>(dialog, "edUdpAddress")->text(), QStringLiteral("10.0.0.9"));
        QCOMPARE(child<QLineEdit>(dialog, "edUdpPort")->text(), QStringLiteral("8234"));
        QVERIFY(child<QGroupBox>(dialog, "gbUdp")->isChecked());
        QVERIFY(!child<QGroupBox>(dialog, "gbSerial")->isChecked());
    }

    void serialSaveKeepsAnUnlistedBaudRateAndTheUdpKeys()
    {
        QSettings *settings = appSettings();
        settings->setValue("serial/port", "COM7");
        settings->setValue("serial/baudrate", 14400);
        settings->setValue("udp/address", "10.0.0.9");
        settings->setValue("udp/port", "99999");
        SetupDialog dialog;
        child<QComboBox>(dialog, "stopbit")->setCurrentIndex(2);
        child<QComboBox>(dialog, "cmbDeviceAddress")->setCurrentIndex(4);
        child<QPushButton>(dialog, "ok")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const QMap<QString, QString> keys = storedKeys();
        QCOMPARE(keys.value("serial/port"), QStringLiteral("COM7"));
        QCOMPARE(keys.value("serial/baudrate"), QStringLiteral("14400"));
        QCOMPARE(keys.value("serial/databits"), QStringLiteral("8"));
        QCOMPARE(keys.value("serial/parity"), QStringLiteral("0"));
        QCOMPARE(keys.value("serial/stopbits"), QStringLiteral("3"));
        QCOMPARE(keys.value("serial/send_rts"), QStringLiteral("false"));
        QCOMPARE(keys.value("communicate/udp"), QStringLiteral("0"));
        QCOMPARE(keys.value("device/address"), QStringLiteral("5"));
        // The other branch stays as it was, even where it is not valid.
        QCOMPARE(keys.value("udp/address"), QStringLiteral("10.0.0.9"));
        QCOMPARE(keys.value("udp/port"), QStringLiteral("99999"));
    }

    void udpSaveKeepsTheSerialKeys()
    {
        QSettings *settings = appSettings();
        settings->setValue("serial/port", "COM9");
        settings->setValue("serial/baudrate", 300);
        settings->setValue("serial/parity", 5);
        SetupDialog dialog;
        child<QGroupBox>(dialog, "gbUdp")->setChecked(true);
        child<QLineEdit>(dialog, "edUdpAddress")->setText("fe80::1");
        child<QLineEdit>(dialog, "edUdpPort")->setText("8234");
        child<QPushButton>(dialog, "ok")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const QMap<QString, QString> keys = storedKeys();
        QCOMPARE(keys.value("udp/address"), QStringLiteral("fe80::1"));
        QCOMPARE(keys.value("udp/port"), QStringLiteral("8234"));
        QCOMPARE(keys.value("communicate/udp"), QStringLiteral("1"));
        QCOMPARE(keys.value("serial/port"), QStringLiteral("COM9"));
        QCOMPARE(keys.value("serial/baudrate"), QStringLiteral("300"));
        QCOMPARE(keys.value("serial/parity"), QStringLiteral("5"));
        QVERIFY(!keys.contains("serial/stopbits"));
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        QTest::newRow("no serial port") << false << QStringList {} << "9600"
                                        << ""
                                        << ""
                                        << "请选择串口!";
        QTest::newRow("no baud rate") << false << QStringList { "COM1" } << ""
                                      << ""
                                      << ""
                                      << "请选择波特率!";
        QTest::newRow("no udp address") << true << QStringList {} << ""
                                        << ""
                                        << "8234"
                                        << "请输入UDP地址";
        QTest::newRow("no udp port") << true << QStringList {} << ""
                                     << "10.0.0.1"
                                     << ""
                                     << "请输入UDP端口";
        QTest::newRow("not an address") << true << QStringList {} << ""
                                        << "meter-7"
                                        << "8234"
                                        << "UDP地址无效，请输入IPv4或IPv6地址";
        QTest::newRow("port past 16 bits") << true << QStringList {} << ""
                                           << "10.0.0.1"
                                           << "70000"
                                           << "UDP端口无效，请输入1到65535之间的数字";
        QTest::newRow("port zero") << true << QStringList {} << ""
                                   << "10.0.0.1"
                                   << "0"
                                   << "UDP端口无效，请输入1到65535之间的数字";
    }
    void refusals()
    {
        QFETCH(bool, udp);
        QFETCH(QStringList, present);
        QFETCH(QString, baud);
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QString, message);
        m_ports = present;
        appSettings()->setValue("serial/baudrate", 4800);
        appSettings()->setValue("udp/port", "1");
        appSettings()->setValue("communicate/udp", udp ? 0 : 1);

        SetupDialog dialog;
        dialog.show();
        child<QGroupBox>(dialog, udp ? "gbUdp" : "gbSerial")->setChecked(true);
        child<QComboBox>(dialog, "baudrate")->setEditText(baud);
        child<QLineEdit>(dialog, "edUdpAddress")->setText(address);
        child<QLineEdit>(dialog, "edUdpPort")->setText(port);
        child<QComboBox>(dialog, "cmbDeviceAddress")->setCurrentIndex(11);
        // With no stored port nothing is selected; pick the first one listed.
        child<QComboBox>(dialog, "port")->setCurrentIndex(0);

        ModalBoxCatcher catcher;
        child<QPushButton>(dialog, "ok")->click();
        QCOMPARE(catcher.texts(), QStringList { message });
        QCOMPARE(catcher.boxes().first().title, QStringLiteral("串口设置"));
        QCOMPARE(catcher.boxes().first().icon, QMessageBox::Critical);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        // Input intact, address stored, nothing else written.
        QCOMPARE(child<QLineEdit>(dialog, "edUdpPort")->text(), port);
        const QMap<QString, QString> keys = storedKeys();
        QCOMPARE(keys.value("device/address"), QStringLiteral("12"));
        QCOMPARE(keys.value("communicate/udp"), QString::number(udp ? 0 : 1));
        QCOMPARE(keys.value("serial/baudrate"), QStringLiteral("4800"));
        QCOMPARE(keys.value("udp/port"), QStringLiteral("1"));
        QVERIFY(!keys.contains("udp/address"));
    }

    void validators_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("baud") << "baudrate"
                              << "9600" << true;
        QTest::newRow("baud unlisted") << "baudrate"
                                       << "14400" << true;
        QTest::newRow("baud leading zero") << "baudrate"
                                           << "09600" << false;
        QTest::newRow("baud zero") << "baudrate"
                                   << "0" << false;
        QTest::newRow("baud letters") << "baudrate"
                                      << "96k" << false;
        QTest::newRow("port five digits") << "edUdpPort"
                                          << "99999" << true;
        QTest::newRow("port six digits") << "edUdpPort"
                                         << "123456" << false;
        QTest::newRow("port letters") << "edUdpPort"
                                      << "80a" << false;
        QTest::newRow("port sign") << "edUdpPort"
                                   << "-1" << false;
    }
    void validators()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        SetupDialog dialog;
        // A field of the unchecked group is disabled and takes no typing.
        child<QGroupBox>(dialog, field == QLatin1String("baudrate") ? "gbSerial" : "gbUdp")->setChecked(true);
        QLineEdit *edit = field == QLatin1String("baudrate") ? child<QComboBox>(dialog, "baudrate")->lineEdit()
                                                             : child<QLineEdit>(dialog, "edUdpPort");
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text() == text, accepted);
    }

    void groupsAreAlwaysOpposite()
    {
        SetupDialog dialog;
        auto *serial = child<QGroupBox>(dialog, "gbSerial");
        auto *udp = child<QGroupBox>(dialog, "gbUdp");
        QVERIFY(serial->isChecked());
        QVERIFY(!udp->isChecked());
        udp->setChecked(true);
        QVERIFY(!serial->isChecked());
        udp->setChecked(false);
        QVERIFY(serial->isChecked());
        serial->setChecked(false);
        QVERIFY(udp->isChecked());
        serial->setChecked(true);
        QVERIFY(!udp->isChecked());
        // The search lives in the UDP group and goes with it.
        QVERIFY(!child<QPushButton>(dialog, "bntSearch")->isEnabled());
    }

    void searchFillsTheUdpFieldsOnly()
    {
        SimProfile profile = SimProfile::demo();
        profile.raw.insert("search",
            QJsonObject { { "listen", true }, { "address", "127.0.0.1" }, { "port", 0 }, { "reply", "一号表" } });
        SimRunner meter(profile);
        QVERIFY2(meter.isStarted(), qPrintable(meter.errorText()));
        quint16 searchPort = 0;
        meter.call([&](MeterSim &sim) { searchPort = sim.responder<SearchResponder>()->searchPort(); });
        QVERIFY(searchPort != 0);
        DSearchDeviceThread::setRouteOverride({ { QHostAddress(QHostAddress::LocalHost) }, searchPort, 300 });

        appSettings()->setValue("udp/address", "10.9.9.9");
        appSettings()->setValue("udp/port", "1");
        SetupDialog dialog;
        dialog.show();
        child<QGroupBox>(dialog, "gbUdp")->setChecked(true);

        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto *search = qobject_cast<SearchDeviceDialog *>(QApplication::activeModalWidget());
            if (!search)
                return;
            auto *list = child<QListWidget>(*search, "listWidget");
            auto *ok = child<QPushButton>(*search, "bntOk");
            child<QPushButton>(*search, "bntSearch")->click();
            if (!QTest::qWaitFor([&] { return !search->isSearching() && ok->isEnabled() && list->count() == 1; }, 5000))
                return search->done(QDialog::Rejected);
            list->setCurrentRow(0);
            driven = true;
            ok->click();
        });
        child<QPushButton>(dialog, "bntSearch")->click();
        QVERIFY(driven);
        QCOMPARE(child<QLineEdit>(dialog, "edUdpAddress")->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(child<QLineEdit>(dialog, "edUdpPort")->text(), QString::number(meter.udpPort()));
        QVERIFY(dialog.isVisible());
        // Nothing is stored before OK.
        QCOMPARE(appSettings()->value("udp/address").toString(), QStringLiteral("10.9.9.9"));
        QVERIFY(!appSettings()->contains("communicate/udp"));
    }

    void cancelledSearchLeavesTheFields()
    {
        DSearchDeviceThread::setRouteOverride({ {}, 1500, 100 });
        appSettings()->setValue("udp/address", "10.9.9.9");
        SetupDialog dialog;
        dialog.show();
        child<QGroupBox>(dialog, "gbUdp")->setChecked(true);
        QTimer::singleShot(0, this, [&] {
            if (auto *search = qobject_cast<SearchDeviceDialog *>(QApplication::activeModalWidget()))
                child<QPushButton>(*search, "bntCancel")->click();
        });
        child<QPushButton>(dialog, "bntSearch")->click();
        QCOMPARE(child<QLineEdit>(dialog, "edUdpAddress")->text(), QStringLiteral("10.9.9.9"));
    }

    void englishTexts()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(VEXA_QM_DIR "/en_US.qm")));
        qApp->installTranslator(&translator);
        m_ports.clear();
        SetupDialog dialog;
        dialog.show();
        const QString title = dialog.windowTitle();
        const QString group = child<QGroupBox>(dialog, "gbSerial")->title();
        ModalBoxCatcher catcher;
        child<QPushButton>(dialog, "ok")->click();
        qApp->removeTranslator(&translator);
        QCOMPARE(title, QStringLiteral("Connection Settings"));
        QCOMPARE(group, QStringLiteral("Serial Port"));
        QCOMPARE(catcher.texts(), QStringList { QStringLiteral("Please select a serial port.") });
        QCOMPARE(catcher.boxes().first().okText, QStringLiteral("OK"));
    }

private:
    std::unique_ptr<TempWorkDir> m_dir;
    QStringList m_ports;
};

VEXA_TEST_MAIN_IN_PRIVATE_NETWORK(TstSetupDialog)
#include "tst_setupdialog.moc"
