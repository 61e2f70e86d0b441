#include "sim/simprofile.h"

#include "sim/simframe.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

QString SimItem::text() const
{
    return command ? name : name + QLatin1Char(':') + value;
}

QStringList SimItem::options() const
{
    static const QRegularExpression kOptionList(QStringLiteral("\\(([^()]*/[^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = kOptionList.match(name);
    if (!match.hasMatch())
        return {};
    QStringList choices = match.captured(1).split(QLatin1Char('/'));
    for (QString &choice : choices)
        choice = choice.trimmed();
    return choices;
}

SimItem SimItem::fromText(const QString &text)
{
    SimItem item;
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        item.name = text;
        item.command = true;
    } else {
        item.name = text.left(colon);
        item.value = text.mid(colon + 1);
    }
    return item;
}

SimProfile SimProfile::fromJson(const QByteArray &json, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return SimProfile();
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull())
        return fail(QStringLiteral("profile: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset));
    if (!document.isObject())
        return fail(QStringLiteral("profile: the document must be a JSON object"));

    SimProfile profile;
    profile.raw = document.object();
    const QJsonValue address = profile.raw.value(QStringLiteral("address"));
    if (!address.isUndefined()) {
        const int value = address.toInt(-1);
        if (!address.isDouble() || value < 0 || value > 255)
            return fail(QStringLiteral("profile: address must be a number from 0 to 255"));
        profile.address = static_cast<quint8>(value);
    }
    if (profile.raw.contains(QStringLiteral("model")))
        profile.model = profile.raw.value(QStringLiteral("model")).toString();

    const QJsonArray items = profile.raw.value(QStringLiteral("items")).toArray();
    for (int i = 0; i < items.size(); ++i) {
        const QJsonValue entry = items.at(i);
        SimItem item;
        if (entry.isString()) {
            item = SimItem::fromText(entry.toString());
        } else if (entry.isObject()) {
            const QJsonObject object = entry.toObject();
            item = SimItem::fromText(object.value(QStringLiteral("text")).toString());
            item.readOnly = object.value(QStringLiteral("readOnly")).toBool()
                || object.value(QStringLiteral("refusesWrite")).toBool();
            if (object.value(QStringLiteral("command")).toBool() && !item.command) {
                item.command = true;
                item.value.clear();
            }
        } else {
            return fail(QStringLiteral("profile: item %1 must be a text or an object").arg(i));
        }
        if (item.name.isEmpty())
            return fail(QStringLiteral("profile: item %1 has no name").arg(i));
        if (simEncodeText(item.text()).size() > 255)
            return fail(QStringLiteral("profile: item %1 is longer than 255 bytes").arg(i));
        profile.items.append(item);
    }
    if (profile.items.size() > 255)
        return fail(QStringLiteral("profile: more than 255 items"));
    if (error)
        error->clear();
    return profile;
}

SimProfile SimProfile::fromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("profile: cannot open %1: %2").arg(path, file.errorString());
        return SimProfile();
    }
    return fromJson(file.readAll(), error);
}

QByteArray SimProfile::demoJson()
{
    QFile file(QStringLiteral(":/sim/profiles/demo.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

SimProfile SimProfile::demo()
{
    return fromJson(demoJson());
}

void SimProfile::setAddress(quint8 newAddress)
{
    address = newAddress;
    for (SimItem &item : items) {
        if (item.name == QStringLiteral("设备地址"))
            item.value = QString::number(newAddress);
    }
}

QByteArray SimProfile::programDemoJson()
{
    // The file as written, with the address in both places it appears.
    QString text = QString::fromUtf8(demoJson());
    const QString address = QString::number(kProgramDemoAddress);
    text.replace(QRegularExpression(QStringLiteral("(\"address\":\\s*)\\d+")), QStringLiteral("\\1") + address);
    text.replace(QRegularExpression(QStringLiteral("(\"设备地址:)\\d+")), QStringLiteral("\\1") + address);
    return text.toUtf8();
}

SimProfile SimProfile::programDemo()
{
    return fromJson(programDemoJson());
}
