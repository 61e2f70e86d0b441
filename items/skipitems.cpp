#include "items/skipitems.h"

#include <QFile>
#include <QStringList>

QString normalizeSkipText(const QString &text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    return result.trimmed();
}

SkipMap loadSkipFile(const QString &path)
{
    SkipMap map;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return map;
    while (!file.atEnd()) {
        QByteArray raw = file.readLine();
        const int zero = raw.indexOf('\0');
        if (zero >= 0)
            raw.truncate(zero);
        const QStringList parts = QString::fromUtf8(raw).split(QLatin1Char(','), Qt::KeepEmptyParts);
        if (parts.size() == 1) {
            const QString key = normalizeSkipText(parts.at(0));
            map[key].insert(key);
        } else if (parts.size() == 2) {
            map[normalizeSkipText(parts.at(0))].insert(normalizeSkipText(parts.at(1)));
        }
    }
    return map;
}
