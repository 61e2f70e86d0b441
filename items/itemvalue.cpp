#include "items/itemvalue.h"

#include "link/frame.h"

#include <QCoreApplication>

int maxItemValueBytes(const QString &name)
{
    if (name.isEmpty())
        return kMaxItemTextBytes;
    // The answer's length byte holds up to one byte more than a write's text,
    // which counts its closing zero.
    const int answerRoom = kMaxItemTextBytes + 1 - encodeGb2312(name + QLatin1Char(':')).size();
    return qMax(0, qMin(kMaxItemTextBytes, answerRoom));
}

bool isGb2312Text(const QString &text)
{
    const QByteArray bytes = encodeGb2312(text);
    for (int i = 0; i < bytes.size(); ++i) {
        const auto lead = quint8(bytes.at(i));
        if (lead < 0x80)
            continue;
        if (i + 1 >= bytes.size())
            return false;
        const auto trail = quint8(bytes.at(++i));
        if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE)
            return false;
    }
    return decodeGb2312(bytes) == text;
}

QString itemValueProblem(const QString &name, const QString &value)
{
    // The codec would put something else for what it cannot map, and the
    // meter would store it so.
    if (!isGb2312Text(value))
        return QCoreApplication::translate("MainWindow", "配置值含有设备无法表示的字符,未写入");
    const int bytes = encodeGb2312(value).size();
    const int most = maxItemValueBytes(name);
    if (bytes > most) {
        return QCoreApplication::translate("MainWindow", "配置值过长: 编码后为%1字节,设备最多接受%2字节,未写入")
            .arg(bytes)
            .arg(most);
    }
    return QString();
}
