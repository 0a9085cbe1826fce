// Manuscript recovery: while the switch is on, every change of the text
// rewrites its copy in the backup folder; the recovery command opens that
// folder in the file browser.
#include "app/gbk_text.h"
#include "app/main_window.h"
#include "app/settings_panel.h"
#include "app/texts.h"
#include "core/backup_name.h"
#include "core/document_files.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace penvox {

QString MainWindow::backupFolder() const {
    return state_.places.runDir + QLatin1Char('/') + QString::fromUtf8(backup::kFolder);
}

void MainWindow::writeBackup(const QString& editorText) {
    if (!panel_->autoSave->isChecked()) return;
    // Only the text being written is copied: the closing "感谢您的使用" of end
    // writing must never replace the copy of the text that was just cleared.
    if (!state_.writing) return;
    const QString folder = backupFolder();
    QDir().mkpath(folder);  // the switch promises copies from the first keystroke on
    const QString path = folder + QLatin1Char('/') + QString::fromStdString(backup::fileName(titleBox->text().toStdString()));
    // One pass to GBK, then each LF becomes CR LF (a GBK character never holds
    // the byte 0x0A, so the bytes can be widened as they stand).
    const std::string encoded = toGbk(editorText);
    std::string program;
    program.reserve(encoded.size() + encoded.size() / 16);
    for (const char byte : encoded) {
        if (byte == '\n') program += '\r';
        program += byte;
    }
    const std::string bytes = state_.documentEncoding == documents::Encoding::Gbk
                                  ? std::move(program)
                                  : documents::fromProgramText(program, state_.documentEncoding);
    backupWriter_.write(QFile::encodeName(path).toStdString(), bytes);
}

void MainWindow::flushBackups() { backupWriter_.flush(); }

void MainWindow::runManuscriptRecovery() {
    QDir().mkpath(backupFolder());
    state_.platform.openUrl(backupFolder());
}

void MainWindow::autoSaveClicked() {
    state_.platform.messageBox(this, texts::kProgramTitle,
                               panel_->autoSave->isChecked()
                                   ? QStringLiteral("使用自动备份保存后文本会逐字自动保存到软件所在目录。")
                                   : QStringLiteral("关闭成功"));
}

}  // namespace penvox
