#include "items/identificationrows.h"

bool isModelRowName(const QString &name)
{
    return name == QStringLiteral("设备型号") || name.compare(QLatin1String("model"), Qt::CaseInsensitive) == 0;
}

bool isDeviceNameRowName(const QString &name)
{
    return name == QStringLiteral("设备名称");
}
