#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// One configuration item of the simulated meter.
struct SimItem
{
    QString name; // may end in an option list such as (9600/19200)
    QString value;
    bool command = false; // no value: answered by its name alone
    bool readOnly = false; // refuses writes, keeps its value

    // "name:value", or the name alone for a command item.
    QString text() const;
    // The choices of an option list at the end of the name; empty if none.
    QStringList options() const;
    // Splits at the first colon; no colon makes a command item.
    static SimItem fromText(const QString &text);
};

// What a simulated meter is: its address, model, items and the free sections
// that feature responders read (history, debug, firmware, search, ...).
// The file format is documented in sim/README.md.
struct SimProfile
{
    quint8 address = 255;
    QString model = QStringLiteral("VX-200");
    QList<SimItem> items;
    QJsonObject raw; // the whole JSON document, for responders' own sections

    // Answers at another device address; an item 设备地址 says so too.
    void setAddress(quint8 newAddress);

    // A named top-level object of the profile ("history", "debug", ...); empty if absent.
    QJsonObject section(const QString &name) const { return raw.value(name).toObject(); }

    // Empty error text on success.
    static SimProfile fromJson(const QByteArray &json, QString *error = nullptr);
    static SimProfile fromFile(const QString &path, QString *error = nullptr);
    // The demo profile compiled into the library (":/sim/profiles/demo.json").
    static SimProfile demo();
    static QByteArray demoJson();
    // The demo as vexa-meter-sim runs it without a profile: at the
    // assistant's default device address, 255, so a first try needs no setup.
    static constexpr quint8 kProgramDemoAddress = 255;
    static SimProfile programDemo();
    static QByteArray programDemoJson();
};
