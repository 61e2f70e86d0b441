#include "firmware/dencryptinfo.h"

const char kPackageDeviceKey[] = "{01F1095D-25DB-41A1-B694-D978198993AD}";
const char kPackageVersionKey[] = "{160BEA7C-07BB-4FCC-BF7E-3C9BDF2EE0B6}";
const char kPackageModelKey[] = "{DBCA09A2-3B0F-49C8-892D-BBF54C0ACD64}";
const char kPackageImageKey[] = "{B2D57D72-C2D0-47C1-8A16-CC2303201956}";

QString DEncryptInfo::device() const
{
    return m_infoMap.value(QLatin1String(kPackageDeviceKey)).toString();
}

QString DEncryptInfo::version() const
{
    return m_infoMap.value(QLatin1String(kPackageVersionKey)).toString();
}

QString DEncryptInfo::model() const
{
    return m_infoMap.value(QLatin1String(kPackageModelKey)).toString();
}

QByteArray DEncryptInfo::image() const
{
    return m_infoMap.value(QLatin1String(kPackageImageKey)).toByteArray();
}
