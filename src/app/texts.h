#pragma once
// The program's own texts that more than one place uses.
#include <QString>

namespace penvox::texts {

inline const QString kProgramTitle = QStringLiteral("Penvox");
inline const QString kCaption = QStringLiteral("Penvox Pro — 高效率写作工具 v8.1 多年沉淀，不忘初心");
inline const QString kSoftwareDayCaption =
    QStringLiteral("今天是P软件节，欢迎到官方博客体验新品。赶快去更新吧~ 每月28日P软件节——Penvox");
inline const QString kTrayTip = QStringLiteral("Penvox—高效率写作工具");
inline const QString kPointsPrefix = QStringLiteral("当前积分： ");
inline const QString kPictureWelcome = QStringLiteral("欢迎使用Penvox");
inline const QString kTitlePrompt = QStringLiteral("标题/题目：");
inline const QString kStatsInitial = QStringLiteral("开始书写之后会显示详细的字数统计");
inline const QString kFixedKeyText = QStringLiteral("qmv517362840");

// The editor's text before the first writing: a short guide to the program.
QString greeting();

// Settings-file values.
inline const QString kTrue = QStringLiteral("真");
inline const QString kFalse = QStringLiteral("假");
inline const QString kHidden = QStringLiteral("隐藏");
inline const QString kShown = QStringLiteral("显示");

}  // namespace penvox::texts
