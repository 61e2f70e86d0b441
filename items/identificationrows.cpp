#include "items/identificationrows.h"

bool isModelRowName(const QString &name)
{
    return name == QStringLiteral("设备型号") || name.compare(QLatin1String("model"), Qt::CaseInsensitive) == 0;
}

bool isDeviceNameRowName(const QString &name)
{
    return name == QStringLiteral("设备名称");
}

void MeterIdentity::note(const ItemRecord &record)
{
    const QString name = record.fields.value(0);
    if (isModelRowName(name))
        model = record.fields.value(1);
    else if (isDeviceNameRowName(name))
        deviceName = record.fields.value(1);
}
