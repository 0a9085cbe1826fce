// Saving: the save-now command that writes the text as plain text or as an
// encrypted document and ends the writing, and the check at shut-down.
#include "app/gbk_text.h"
#include "app/main_window.h"
#include "app/texts.h"
#include "app/window_flags.h"
#include "core/atomic_file.h"
#include "core/document_files.h"
#include "core/text_cipher.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace penvox {

namespace {
std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
}  // namespace

bool MainWindow::writeText(const QString& path, WriteKind kind) {
    const std::string text = editorAdapter_.text();
    const std::string bytes = kind == WriteKind::Encrypted ? cipher::encrypt(text, state_.documentKeyText())
                                                           : documents::fromProgramText(text, state_.documentEncoding);
    std::string reason;
    if (files::writeAtomically(localPath(path), bytes, &reason)) return true;
    // Nothing is reported as saved: the text, its path and password stay.
    state_.platform.messageBox(this, texts::kProgramTitle,
                               QStringLiteral("保存失败，文件没有写入：%1\r\n原因：%2\r\n您的文字仍在编辑框中，没有丢失。")
                                   .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)));
    return false;
}

MainWindow::SaveOutcome MainWindow::saveToChosenFile() {
    FileDialog dialog;
    dialog.title = QStringLiteral("保存文件");
    dialog.directory = state_.places.runDir;
    dialog.fileName = titleBox->text();
    dialog.filters = {{QStringLiteral("文本文档（*.txt）"), QStringLiteral("*.txt")},
                      {QStringLiteral("Penvox加密文档（*.pxt）"), QStringLiteral("*.pxt")}};
    dialog.defaultSuffix = QStringLiteral("txt");
    const QString path = state_.platform.saveFileName(this, dialog);
    if (path.isEmpty()) return SaveOutcome::NotSaved;
    if (!path.contains(QLatin1String(".pxt"))) return writeText(path, WriteKind::Plain) ? SaveOutcome::Saved : SaveOutcome::Failed;
    const QString previous = state_.documentPassword;
    state_.documentPassword = askPassword();
    if (writeText(path, WriteKind::Encrypted)) return SaveOutcome::Saved;
    state_.documentPassword = previous;
    return SaveOutcome::Failed;
}

MainWindow::SaveOutcome MainWindow::saveNow() {
    AppState& s = state_;
    setAlwaysOnTop(this, false);
    // A text without a file, or one whose password looked wrong, is placed anew.
    if (s.documentPath.isEmpty() || s.passwordSuspect) {
        const SaveOutcome outcome = saveToChosenFile();
        if (outcome != SaveOutcome::Saved) return outcome;
        s.documentPassword.clear();
        endWriting();
        return SaveOutcome::Saved;
    }
    const Answer answer = s.platform.messageBox(
        this, texts::kProgramTitle,
        QStringLiteral("覆盖原文件保存么？\r\n是：覆盖原文件（如果是word文档保存为txt文件 否：选择其他位置 取消：放弃保存\r\n"
                       "如果想清空正在编辑的文件可以点击F12"),
        Buttons::YesNoCancel);
    if (answer == Answer::Yes) {
        const QString path = s.documentPath;
        if (path.contains(QLatin1String(".pxt"))) {
            const QString previous = s.documentPassword;
            s.documentPassword = askPassword();
            if (!writeText(path, WriteKind::Encrypted)) {
                s.documentPassword = previous;
                return SaveOutcome::Failed;
            }
        } else if (path.contains(QLatin1String(".doc"))) {
            // A Word document itself is never touched: its text goes beside it.
            if (!writeText(path + QStringLiteral(".txt"), WriteKind::Plain)) return SaveOutcome::Failed;
        } else if (!writeText(path, WriteKind::Plain)) {
            return SaveOutcome::Failed;
        }
        endWriting();
        return SaveOutcome::Saved;
    }
    if (answer == Answer::No) {
        const SaveOutcome outcome = saveToChosenFile();
        if (outcome != SaveOutcome::Saved) return outcome;
        s.documentPath.clear();
        endWriting();
        return SaveOutcome::Saved;
    }
    return SaveOutcome::NotSaved;
}

bool MainWindow::textNeedsSaving() {
    const AppState& s = state_;
    if (s.documentPath.isEmpty()) return true;
    std::string reason;
    const std::optional<std::string> bytes = files::readAll(localPath(s.documentPath), &reason);
    if (!bytes) return true;
    const std::string fileText = s.documentPath.contains(QLatin1String(".pxt"))
                                     ? cipher::decrypt(*bytes, s.documentKeyText())
                                     : documents::toProgramText(*bytes, documents::detect(*bytes));
    return fileText != editorAdapter_.text();
}

bool MainWindow::offerToSaveWriting() {
    if (!textNeedsSaving()) return true;
    // A save that fails keeps the program open; a save the writer declines does not.
    return saveNow() != SaveOutcome::Failed;
}

}  // namespace penvox
