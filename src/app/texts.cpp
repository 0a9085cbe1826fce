#include "app/texts.h"

#include <QStringList>

namespace penvox::texts {

QString greeting() {
    const QString dashes = QStringLiteral("————————————————");
    const QStringList lines = {
        QString(),
        QStringLiteral("Penvox 8 多年沉淀，不忘初心"),
        QString(),
        dashes,
        QStringLiteral("将文件拖入本软件中可以快速打开"),
        QString(30, QLatin1Char(' ')),
        QStringLiteral("支持*.txt/*.pxt/*.wav文件"),
        dashes,
        QString(),
        QStringLiteral("尝试单击书写按钮选择你的写作内容"),
        QString(),
        QStringLiteral("临时文本：直接点击书写"),
        QStringLiteral("写文章：输入文章标题点击书写即可"),
        QStringLiteral("写日记：右键单击书写按钮选择日记即可"),
        QStringLiteral("记笔记：在标题中输入课时等信息点击书写按钮"),
        QStringLiteral("记录日程：右键单击书写按钮选择P日程即可"),
        QStringLiteral("录音：点击麦克风按钮选择开始录音"),
        QString(),
        QString(),
        QStringLiteral("Penvox，你的原创写作助手"),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace penvox::texts
