#include "monitor/monitorcommand.h"

#include "base/outputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

QString MonitorCommand::toLine() const
{
    return QStringList { name, mode == SendMode::Hex ? QStringLiteral("hex") : QStringLiteral("text"),
        lineEndKey(lineEnd), text }
        .join(QLatin1Char('\t'));
}

QString MonitorCommand::fromLine(const QString &line, MonitorCommand *command)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 4)
        return QCoreApplication::translate("MonitorSend", "应为 名称<TAB>模式<TAB>行尾<TAB>内容");
    MonitorCommand parsed;
    parsed.name = fields.at(0).trimmed();
    if (parsed.name.isEmpty())
        return QCoreApplication::translate("MonitorSend", "缺少名称");
    // A command file holds one command a line and takes a carriage return
    // before the line feed for the line's end: neither can be kept inside.
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
        return QCoreApplication::translate("MonitorSend", "名称和内容不能含回车或换行符,行尾请用行尾选项");
    if (fields.at(1) == QLatin1String("hex"))
        parsed.mode = SendMode::Hex;
    else if (fields.at(1) != QLatin1String("text"))
        return QCoreApplication::translate("MonitorSend", "未知的模式: %1").arg(fields.at(1));
    if (!lineEndFromKey(fields.at(2), &parsed.lineEnd))
        return QCoreApplication::translate("MonitorSend", "未知的行尾: %1").arg(fields.at(2));
    // The text may hold tabs of its own.
    parsed.text = fields.mid(3).join(QLatin1Char('\t'));
    // A command is worth keeping only if it can be sent.
    const SendPayload payload = buildSendPayload(parsed.request());
    if (!payload.error.isEmpty())
        return payload.error;
    *command = parsed;
    return {};
}

SendRequest MonitorCommand::request() const
{
    SendRequest request;
    request.mode = mode;
    request.lineEnd = lineEnd;
    request.text = text;
    return request;
}

QList<MonitorCommand> commandsFromLines(const QStringList &lines)
{
    QList<MonitorCommand> commands;
    for (const QString &line : lines) {
        MonitorCommand command;
        if (commands.size() < kMaxMonitorCommands && MonitorCommand::fromLine(line, &command).isEmpty())
            commands.append(command);
    }
    return commands;
}

QStringList commandsToLines(const QList<MonitorCommand> &commands)
{
    QStringList lines;
    for (const MonitorCommand &command : commands)
        lines.append(command.toLine());
    return lines;
}

QString readCommandFile(const QString &fileName, QList<MonitorCommand> *commands)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("MonitorSend", "打开文件失败: %1").arg(fileName);
    if (file.size() > kMaxCommandFileBytes)
        return QCoreApplication::translate("MonitorSend", "文件太大: %1").arg(fileName);
    QString content = QString::fromUtf8(file.read(kMaxCommandFileBytes));
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    QList<MonitorCommand> read;
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        MonitorCommand command;
        const QString error = MonitorCommand::fromLine(line, &command);
        if (!error.isEmpty())
            return QCoreApplication::translate("MonitorSend", "第%1行: %2").arg(i + 1).arg(error);
        if (read.size() >= kMaxMonitorCommands)
            return QCoreApplication::translate("MonitorSend", "命令超过%1条").arg(kMaxMonitorCommands);
        read.append(command);
    }
    *commands = read;
    return {};
}

QString writeCommandFile(const QString &fileName, const QList<MonitorCommand> &commands)
{
    OutputFile file;
    QByteArray content;
    for (const MonitorCommand &command : commands)
        content += command.toLine().toUtf8() + '\n';
    if (!file.open(fileName, OutputFile::Mode::Replace, OutputFile::Name::Chosen) || !file.write(content)
        || !file.close())
        return QCoreApplication::translate("MonitorSend", "写入文件失败: %1").arg(fileName) + QLatin1Char('\n')
            + file.errorText();
    return {};
}
