// Opening documents: the open routine behind "打开文件" and file drops, text
// drops, and a second program window.
#include "app/editor_adapter.h"
#include "app/frame_label.h"
#include "app/gbk_text.h"
#include "app/main_window.h"
#include "app/password_window.h"
#include "app/texts.h"
#include "core/atomic_file.h"
#include "core/document_files.h"
#include "core/text_cipher.h"
#include "core/word_doc.h"
#include "core/word_docx.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace penvox {

namespace {

const QString kRefuseSecondDocument = QStringLiteral("欲打开新文件请新建新窗口或保存/清空本篇文章");

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QList<FileFilter> openFilters() {
    return {
        {QStringLiteral("所有支持的文件类型"), QStringLiteral("*.txt;*.pxt;*.wav;*.doc;*.docx")},
        {QStringLiteral("文本文档（*.txt）"), QStringLiteral("*.txt")},
        {QStringLiteral("Penvox加密文档（*.pxt）"), QStringLiteral("*.pxt")},
        {QStringLiteral("Word 文档（*.doc）"), QStringLiteral("*.doc")},
        {QStringLiteral("Word 2007文档（*.docx）"), QStringLiteral("*.docx")},
        {QStringLiteral("音乐文件（*.wav）"), QStringLiteral("*.wav")},
    };
}

// Word documents are read on a worker thread while the window keeps
// repainting; the user's clicks and keys wait until the text is there.
word::ReadResult readWordDocument(const QString& path, bool docx) {
    const std::string local = localPath(path);
    QFuture<word::ReadResult> future =
        QtConcurrent::run([local, docx] { return docx ? word::readDocx(local) : word::readDoc(local); });
    if (!future.isFinished()) {
        QFutureWatcher<word::ReadResult> watcher;
        QEventLoop loop;
        QObject::connect(&watcher, &QFutureWatcher<word::ReadResult>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        if (!future.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return future.result();
}

// Files dropped on the editor or the title box open as documents, and text
// dragged in from another program goes through the text drop; a drag within
// the editor itself still moves text as usual.
class DropRouter : public QObject {
public:
    DropRouter(MainWindow* window, QWidget* editorViewport, QObject* editor)
        : QObject(window), window_(window), viewport_(editorViewport), editor_(editor) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
        auto* drag = static_cast<QDropEvent*>(event);
        const QMimeData* data = drag->mimeData();
        QString file;
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) {
                file = url.toLocalFile();
                break;
            }
        const bool outsideText = watched == viewport_ && data->hasText() && drag->source() != editor_ &&
                                 drag->source() != viewport_;
        if (file.isEmpty() && !outsideText) return false;
        drag->acceptProposedAction();
        if (type == QEvent::Drop) {
            if (!file.isEmpty()) window_->dropFile(file);
            else window_->dropText(data->text());
        }
        return true;
    }

private:
    MainWindow* window_;
    QObject* viewport_;
    QObject* editor_;
};

}  // namespace

void MainWindow::routeDrops() {
    auto* router = new DropRouter(this, editorBox->viewport(), editorBox);
    editorBox->viewport()->installEventFilter(router);
    titleBox->installEventFilter(router);
}

std::optional<std::string> MainWindow::readForOpening(const QString& path) {
    std::string reason;
    std::optional<std::string> bytes = files::readAll(localPath(path), &reason);
    if (!bytes)
        state_.platform.messageBox(this, texts::kProgramTitle,
                                   QStringLiteral("无法打开文件：%1\r\n原因：%2")
                                       .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)));
    return bytes;
}

void MainWindow::openRoutine(const QString& givenPath, int filterIndex) {
    AppState& s = state_;
    s.openedDocumentFlag = 1;
    QString path = givenPath;
    if (path.isEmpty()) {
        FileDialog dialog;
        dialog.title = QStringLiteral("打开文件");
        dialog.directory = s.places.runDir;
        dialog.filters = openFilters();
        dialog.filterIndex = filterIndex;
        path = s.platform.openFileName(this, dialog);
        if (path.isEmpty()) return;
    }
    const QString extension = QString::fromStdString(documents::extensionOf(path.toStdString()));
    const bool isDocument = extension == QLatin1String("txt") || extension == QLatin1String("doc") ||
                            extension == QLatin1String("docx") || extension == QLatin1String("pxt");
    if (s.writing && isDocument) {
        s.platform.messageBox(this, texts::kProgramTitle, kRefuseSecondDocument);
        return;
    }
    if (extension == QLatin1String("wav")) {
        openWavPlayer(path);
        return;
    }
    if (!isDocument) return;
    const QString title = QString::fromStdString(documents::titleOf(path.toStdString()));

    if (extension == QLatin1String("txt")) {
        // A file that cannot be read leaves the window idle, so nothing empty
        // can later be saved over it.
        const std::optional<std::string> bytes = readForOpening(path);
        if (!bytes) return;
        enterLoadedDocument(path, title);
        s.documentEncoding = documents::detect(*bytes);
        editorAdapter_.setText(documents::toProgramText(*bytes, s.documentEncoding));
    } else if (extension == QLatin1String("doc") || extension == QLatin1String("docx")) {
        const QString editorBefore = editorAdapter_.unicodeText();
        const QString titleBefore = titleBox->text();
        titleBox->setText(title);
        editorAdapter_.setUnicodeText(QStringLiteral("正在加载中..."));
        const word::ReadResult document = readWordDocument(path, extension == QLatin1String("docx"));
        if (!document.ok) {
            titleBox->setText(titleBefore);
            editorAdapter_.setUnicodeText(editorBefore);
            s.platform.messageBox(this, texts::kProgramTitle,
                                  QStringLiteral("无法读取Word文档：%1\r\n原因：%2")
                                      .arg(QDir::toNativeSeparators(path), QString::fromStdString(document.error)));
            return;
        }
        enterLoadedDocument(path, title);
        s.documentEncoding = documents::Encoding::Gbk;
        editorAdapter_.setText(document.text);
    } else {
        const std::optional<std::string> bytes = readForOpening(path);
        if (!bytes) return;
        enterLoadedDocument(path, title);
        s.documentPassword = askPassword();
        const std::string key = s.documentKeyText();
        if (!cipher::looksLikeText(cipher::decryptBytes(*bytes, key))) {
            // Probably a wrong password: the garbled text is shown, but its file
            // will never be overwritten with it.
            s.passwordSuspect = true;
            s.platform.messageBox(this, texts::kProgramTitle,
                                  QStringLiteral("解密后的内容不是正常的文字，密码可能不正确。\r\n"
                                                 "为保护原文件，保存时会请您另选位置。"));
        }
        editorAdapter_.setText(cipher::decrypt(*bytes, key));
        s.settings.write(QStringLiteral("软件设置"), QStringLiteral("pxt使用"), s.todayStamp());
    }
}

// The start command for a document being opened: under its title, and with
// the loading flag up so no header line goes into the editor.
void MainWindow::enterLoadedDocument(const QString& path, const QString& title) {
    state_.documentPath = path;
    titleBox->setText(title);
    state_.loadingFlag = 1;
    startCommand();
    state_.loadingFlag = 0;
}

QString MainWindow::askPassword() {
    return PasswordWindow::ask(this, state_.documentPassword, palette().color(QPalette::Window),
                               captionLabel->palette().color(QPalette::WindowText));
}

void MainWindow::dropFile(const QString& path) {
    if (!editorBox->isEnabled()) openRoutine(path);
    else state_.platform.messageBox(this, texts::kProgramTitle, kRefuseSecondDocument);
}

void MainWindow::dropText(const QString& text) {
    if (!editorBox->isEnabled()) startCommand();
    const std::string program = editorAdapter_.text();
    const std::size_t at = std::min(editorAdapter_.selectionStart(), program.size());
    const std::string dropped = toGbk(EditorAdapter::toProgramBreaks(EditorAdapter::toEditorBreaks(text)));
    editorAdapter_.setText(program.substr(0, at) + dropped + program.substr(at));
    editorBox->setFocus();
}

void MainWindow::openNewWindow() {
    state_.platform.startProgram(QCoreApplication::applicationFilePath(), {});
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (!url.isLocalFile()) continue;
            dropFile(url.toLocalFile());
            break;
        }
    } else if (data->hasText()) {
        dropText(data->text());
    }
    event->acceptProposedAction();
}

}  // namespace penvox
