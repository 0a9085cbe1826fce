// Opening and saving documents: plain text in its encoding, encrypted
// documents with the password window, Word documents, drops, and the saves
// that fail without losing a word.
#include "app_harness.h"

#include "app/gbk_text.h"
#include "app/texts.h"
#include "core/text_cipher.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

#include <csignal>
#include <sys/resource.h>

namespace penvox::testing {
namespace {

const std::string kFixedKey = "qmv517362840";
const QString kOverwrite = QStringLiteral("覆盖原文件保存么？");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
QByteArray gbk(const QString& text) { return QByteArray::fromStdString(toGbk(text)); }

class DocumentsTest : public AppTest {
protected:
    void SetUp() override {
        putSetting(QStringLiteral("文本设置"), QStringLiteral("first"), texts::kTrue);
        platform.setNow(2017, 5, 1, 9, 5, 3);
        startWindow();
        docs = runDir.path() + QStringLiteral("/稿件");
        QDir().mkpath(docs);
    }
    QString at(const QString& name) const { return docs + QLatin1Char('/') + name; }
    QString title() { return find<QLineEdit>(QStringLiteral("章节名称"))->text(); }
    QString editorText() { return window->editor().unicodeText(); }
    void typeAtEnd(const QString& text) {
        auto* editor = find<QPlainTextEdit>(QStringLiteral("编辑框1"));
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(text);
    }
    QString docs;
};

TEST_F(DocumentsTest, OpeningAPlainTextTakesTitleAndTextWithoutHeader) {
    writeFile(at(QStringLiteral("第一章.修订.txt")), gbk(QStringLiteral("风起了。\r\n第二行")));
    platform.answerNextOpenDialog(at(QStringLiteral("第一章.修订.txt")));
    menuItem(QStringLiteral("打开文件"))->trigger();
    ASSERT_EQ(platform.dialogs.size(), 1);
    EXPECT_EQ(platform.dialogs[0].request.directory, runDir.path());
    EXPECT_EQ(platform.dialogs[0].request.filterIndex, 0);
    EXPECT_EQ(platform.dialogs[0].request.filters.size(), 6);
    EXPECT_TRUE(window->state().writing);
    EXPECT_EQ(title(), QStringLiteral("第一章"));
    EXPECT_EQ(editorText(), QStringLiteral("风起了。\r\n第二行"));
    EXPECT_EQ(window->state().openedDocumentFlag, 1);
    EXPECT_EQ(find<QPushButton>(QStringLiteral("开始书写按钮"))->text(), QStringLiteral("立刻保存"));
}

TEST_F(DocumentsTest, ExtensionsDecideWhatHappens) {
    writeFile(at(QStringLiteral("A.TXT")), "upper");
    window->dropFile(at(QStringLiteral("A.TXT")));  // "TXT" is no kind
    EXPECT_FALSE(window->state().writing);
    EXPECT_EQ(window->state().openedDocumentFlag, 1);

    window->dropFile(at(QStringLiteral("录音1.wav")));
    EXPECT_EQ(window->playerFiles, QStringList{at(QStringLiteral("录音1.wav"))});
    EXPECT_FALSE(window->state().writing);

    platform.answerNextOpenDialog(QString());  // cancelled
    menuItem(QStringLiteral("打开文件"))->trigger();
    EXPECT_FALSE(window->state().writing);
}

TEST_F(DocumentsTest, DroppingWhileWritingIsRefused) {
    writeFile(at(QStringLiteral("b.txt")), "b");
    click(QStringLiteral("开始书写按钮"));
    const QString before = editorText();
    platform.answerNextMessage(Answer::Ok, QStringLiteral("欲打开新文件请新建新窗口或保存/清空本篇文章"));
    window->dropFile(at(QStringLiteral("b.txt")));
    EXPECT_EQ(editorText(), before);
    EXPECT_TRUE(window->state().documentPath.isEmpty());
}

TEST_F(DocumentsTest, AFileThatCannotBeReadLeavesTheWindowIdle) {
    for (const QString& path : {at(QStringLiteral("missing.txt")), at(QStringLiteral("folder.txt"))}) {
        if (path.endsWith(QStringLiteral("folder.txt"))) QDir().mkpath(path);
        platform.answerNextMessage(Answer::Ok, QStringLiteral("无法打开文件：") + QDir::toNativeSeparators(path));
        window->dropFile(path);
        EXPECT_FALSE(window->state().writing) << path.toStdString();
        EXPECT_TRUE(window->state().documentPath.isEmpty());
    }
}

TEST_F(DocumentsTest, DroppedTextGoesInAtTheCaret) {
    window->dropText(QStringLiteral("外来的字\n第二行"));
    EXPECT_TRUE(window->state().writing);
    const QString header = QStringLiteral("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox");
    // The caret was at the end of the header line and its break.
    EXPECT_EQ(editorText(), header + QStringLiteral("\r\n外来的字\r\n第二行"));
}

TEST_F(DocumentsTest, OpenNewWindowStartsThisProgramAgain) {
    menuItem(QStringLiteral("打开新窗口"))->trigger();
    ASSERT_EQ(platform.startedPrograms.size(), 1);
    EXPECT_EQ(platform.startedPrograms[0].first, QCoreApplication::applicationFilePath());
}

TEST_F(DocumentsTest, NewTextIsPlacedThroughTheSaveDialog) {
    click(QStringLiteral("开始书写按钮"));
    typeAtEnd(QStringLiteral("正文𠀀"));
    platform.answerNextSaveDialog(at(QStringLiteral("new.txt")));
    click(QStringLiteral("开始书写按钮"));
    ASSERT_EQ(platform.dialogs.size(), 1);
    const FileDialog& request = platform.dialogs[0].request;
    EXPECT_EQ(request.fileName, QStringLiteral("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox"));
    EXPECT_EQ(request.directory, runDir.path());
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(request.filters.size(), 2);
    EXPECT_FALSE(window->state().writing);
    EXPECT_EQ(editorText(), QStringLiteral("感谢您的使用"));
    // GBK bytes, CR LF, and the character beyond GBK as its four-byte sequence.
    EXPECT_EQ(readFile(at(QStringLiteral("new.txt"))),
              gbk(QStringLiteral("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox\r\n正文𠀀")));
    EXPECT_TRUE(readFile(at(QStringLiteral("new.txt"))).endsWith(QByteArray("\x95\x32\x82\x36", 4)));
}

TEST_F(DocumentsTest, OpenedTextYesNoCancel) {
    const QString original = at(QStringLiteral("a.txt"));
    writeFile(original, gbk(QStringLiteral("旧")));
    struct Case {
        Answer answer;
        QString dialogAnswer;
        bool writingAfter;
        QByteArray originalAfter;
    } cases[] = {
        {Answer::Cancel, {}, true, gbk(QStringLiteral("旧"))},
        {Answer::No, {}, true, gbk(QStringLiteral("旧"))},  // dialog closed
        {Answer::No, at(QStringLiteral("elsewhere.txt")), false, gbk(QStringLiteral("旧"))},
        {Answer::Yes, {}, false, gbk(QStringLiteral("旧新"))},
    };
    for (const Case& c : cases) {
        if (!window->state().writing) {
            window->dropFile(original);
            typeAtEnd(QStringLiteral("新"));
        }
        platform.answerNextMessage(c.answer, kOverwrite);
        if (c.answer == Answer::No) platform.answerNextSaveDialog(c.dialogAnswer);
        click(QStringLiteral("开始书写按钮"));
        EXPECT_EQ(window->state().writing, c.writingAfter);
        EXPECT_EQ(readFile(original), c.originalAfter);
    }
    EXPECT_EQ(platform.messages.first().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(readFile(at(QStringLiteral("elsewhere.txt"))), gbk(QStringLiteral("旧新")));
}

TEST_F(DocumentsTest, UnicodeDocumentsAreSavedBackInTheirEncoding) {
    struct Case {
        QString name;
        QByteArray bytes;
        QByteArray saved;
    } cases[] = {
        {QStringLiteral("utf8.txt"), QStringLiteral("统一码😀").toUtf8(), QStringLiteral("统一码😀！").toUtf8()},
        {QStringLiteral("bom.txt"), "\xEF\xBB\xBF" + QStringLiteral("带签名").toUtf8(),
         "\xEF\xBB\xBF" + QStringLiteral("带签名！").toUtf8()},
        {QStringLiteral("gbk.txt"), gbk(QStringLiteral("国标")), gbk(QStringLiteral("国标！"))},
    };
    for (const Case& c : cases) {
        writeFile(at(c.name), c.bytes);
        window->dropFile(at(c.name));
        typeAtEnd(QStringLiteral("！"));
        platform.answerNextMessage(Answer::Yes, kOverwrite);
        click(QStringLiteral("开始书写按钮"));
        EXPECT_EQ(readFile(at(c.name)), c.saved) << c.name.toStdString();
    }
}

TEST_F(DocumentsTest, WordDocumentTextGoesBesideIt) {
    const QString fixture = QStringLiteral(PENVOX_FIXTURES "/word/chinese.docx");
    ASSERT_TRUE(QFile::exists(fixture));
    const QString copy = at(QStringLiteral("b.docx"));
    QFile::copy(fixture, copy);
    const QByteArray wordBytes = readFile(copy);
    platform.clipboard = QStringLiteral("剪贴板");
    window->dropFile(copy);
    EXPECT_TRUE(window->state().writing);
    EXPECT_EQ(title(), QStringLiteral("b"));
    EXPECT_FALSE(editorText().isEmpty());
    EXPECT_NE(editorText(), QStringLiteral("正在加载中..."));
    EXPECT_EQ(platform.clipboard, QStringLiteral("剪贴板"));  // the clipboard is not touched
    const QString text = editorText();
    platform.answerNextMessage(Answer::Yes, kOverwrite);
    click(QStringLiteral("开始书写按钮"));
    EXPECT_EQ(readFile(copy), wordBytes);
    EXPECT_EQ(readFile(copy + QStringLiteral(".txt")), gbk(text));
}

TEST_F(DocumentsTest, DamagedWordDocumentShowsWhyAndStaysIdle) {
    writeFile(at(QStringLiteral("broken.docx")), "PK\x03\x04 not really a zip");
    platform.answerNextMessage(Answer::Ok, QStringLiteral("无法读取Word文档"));
    window->dropFile(at(QStringLiteral("broken.docx")));
    EXPECT_FALSE(window->state().writing);
    EXPECT_TRUE(title().isEmpty());
}

TEST_F(DocumentsTest, EncryptedDocumentRoundTripThroughThePasswordWindow) {
    click(QStringLiteral("开始书写按钮"));
    typeAtEnd(QStringLiteral("秘密"));
    const QString text = editorText();
    platform.answerNextSaveDialog(at(QStringLiteral("c.pxt")));
    answerPassword(QStringLiteral("密码"));
    click(QStringLiteral("开始书写按钮"));
    EXPECT_FALSE(window->state().writing);
    const QByteArray cipherBytes = readFile(at(QStringLiteral("c.pxt")));
    EXPECT_EQ(cipherBytes.size(), gbk(text).size());
    EXPECT_EQ(QByteArray::fromStdString(cipher::encrypt(toGbk(text), kFixedKey + toGbk(QStringLiteral("密码")))), cipherBytes);

    // Opening it asks for the password; saving with Yes proposes the same one.
    answerPassword(QStringLiteral("密码"));
    window->dropFile(at(QStringLiteral("c.pxt")));
    EXPECT_EQ(editorText(), text);
    EXPECT_EQ(title(), QStringLiteral("c"));
    EXPECT_EQ(setting(QStringLiteral("软件设置"), QStringLiteral("pxt使用")), QStringLiteral("201751"));
    QString proposed;
    onNextModal(QStringLiteral("pxt密码输入"), [&proposed](QWidget* w) {
        proposed = w->findChild<QLineEdit*>(QStringLiteral("编辑框1"))->text();
        QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("编辑框1")), Qt::Key_Return);
    });
    platform.answerNextMessage(Answer::Yes, kOverwrite);
    click(QStringLiteral("开始书写按钮"));
    EXPECT_EQ(proposed, QStringLiteral("密码"));
    EXPECT_EQ(readFile(at(QStringLiteral("c.pxt"))), cipherBytes);
}

TEST_F(DocumentsTest, PasswordWindowAsDesignedAndClosingKeepsThePassword) {
    const QString path = at(QStringLiteral("h.pxt"));
    writeFile(path, QByteArray::fromStdString(cipher::encrypt("h", kFixedKey)));
    onNextModal(QStringLiteral("pxt密码输入"), [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("pxt密码输入"));
        EXPECT_EQ(w->size(), QSize(380, 250));
        struct Control {
            const char16_t* name;
            QRect place;
            QString text;
        } controls[] = {
            {u"透明标签2", {8, 8, 352, 16}, QStringLiteral("请输入Pxt文件密码")},
            {u"透明标签1", {74, 64, 232, 24}, QStringLiteral("请输入文件密码，适用于打开和保存文件。\r\n打开文件时密码错误会产生乱码")},
            {u"透明标签3", {38, 223, 304, 24},
             QStringLiteral("pxt不支持找回密码，设置密码请谨慎。推荐不设置密码\r\n使用pxt文件之前请保证阅读了pxt文件的许可协议")},
        };
        for (const Control& c : controls) {
            auto* label = w->findChild<QLabel*>(QString::fromUtf16(c.name));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->geometry(), c.place);
            EXPECT_EQ(label->text(), c.text);
        }
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
        EXPECT_EQ(box->geometry(), QRect(56, 104, 264, 32));
        EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("信息2"))->text(), QStringLiteral("确认"));
        typeText(box, QStringLiteral("不算数"));
        w->close();  // closed without confirming
    });
    window->dropFile(path);
    EXPECT_TRUE(window->state().documentPassword.isEmpty());
    EXPECT_EQ(editorText(), QStringLiteral("h"));
}

TEST_F(DocumentsTest, WrongPasswordNeverOverwritesTheEncryptedOriginal) {
    const QString path = at(QStringLiteral("d.pxt"));
    writeFile(path, QByteArray::fromStdString(cipher::encrypt(toGbk(QStringLiteral("原文很长的一段文字，绝不能丢。")), kFixedKey + "right")));
    const QByteArray original = readFile(path);
    answerPassword(QStringLiteral("wrong"));
    platform.answerNextMessage(Answer::Ok, QStringLiteral("密码可能不正确"));
    window->dropFile(path);
    EXPECT_TRUE(window->state().writing);  // the garbled text is shown all the same
    EXPECT_EQ(setting(QStringLiteral("软件设置"), QStringLiteral("pxt使用")), QStringLiteral("201751"));

    // Saving asks for a place instead of the overwrite question.
    platform.answerNextSaveDialog(QString());
    click(QStringLiteral("开始书写按钮"));
    EXPECT_TRUE(window->state().writing);
    EXPECT_EQ(readFile(path), original);
}

TEST_F(DocumentsTest, FailedSaveKeepsEverythingAndSaysWhy) {
    click(QStringLiteral("开始书写按钮"));
    typeAtEnd(QStringLiteral("不能丢的字"));
    const QString text = editorText();
    // A folder that does not exist, and a full device.
    for (const QString& target : {at(QStringLiteral("nowhere/x.txt")), QStringLiteral("/dev/full")}) {
        platform.answerNextSaveDialog(target);
        platform.answerNextMessage(Answer::Ok, QStringLiteral("保存失败，文件没有写入：") + target);
        click(QStringLiteral("开始书写按钮"));
        EXPECT_TRUE(window->state().writing) << target.toStdString();
        EXPECT_EQ(editorText(), text);
        EXPECT_TRUE(window->state().documentPath.isEmpty());
    }
    EXPECT_FALSE(QDir(at(QStringLiteral("nowhere"))).exists());

    // A disk that fills up half-way: the file-size limit stops the write.
    const QString target = at(QStringLiteral("big.txt"));
    writeFile(target, "the previous copy");
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = old;
    tiny.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    platform.answerNextSaveDialog(target);
    platform.answerNextMessage(Answer::Ok, QStringLiteral("保存失败，文件没有写入：") + target);
    click(QStringLiteral("开始书写按钮"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(window->state().writing);
    EXPECT_EQ(editorText(), text);
    EXPECT_EQ(readFile(target), QByteArray("the previous copy"));
    EXPECT_EQ(QDir(docs).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary file left
}

TEST_F(DocumentsTest, FailedOverwriteKeepsPathAndPassword) {
    const QString path = at(QStringLiteral("e.pxt"));
    writeFile(path, QByteArray::fromStdString(cipher::encrypt("e", kFixedKey + "pw")));
    answerPassword(QStringLiteral("pw"));
    window->dropFile(path);
    // The folder disappears under the document (an unplugged drive).
    QFile::remove(path);
    QDir(docs).removeRecursively();
    answerPassword(QStringLiteral("new"));
    platform.answerNextMessage(Answer::Yes, kOverwrite);
    platform.answerNextMessage(Answer::Ok, QStringLiteral("保存失败"));
    click(QStringLiteral("开始书写按钮"));
    EXPECT_TRUE(window->state().writing);
    EXPECT_EQ(window->state().documentPath, path);
    EXPECT_EQ(window->state().documentPassword, QStringLiteral("pw"));
}

TEST_F(DocumentsTest, ShutDownSavesOnlyWhatChanged) {
    const QString path = at(QStringLiteral("f.txt"));
    writeFile(path, QStringLiteral("统一码").toUtf8());
    window->dropFile(path);
    // Unchanged (compared as decoded text): nothing is asked.
    window->close();
    EXPECT_EQ(window->programEnds, 1);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(DocumentsTest, ShutDownOffersToSaveANewTextAndAFailedSaveKeepsTheProgramOpen) {
    click(QStringLiteral("开始书写按钮"));
    platform.answerNextSaveDialog(QStringLiteral("/dev/full"));
    platform.answerNextMessage(Answer::Ok, QStringLiteral("保存失败"));
    EXPECT_FALSE(window->close());
    EXPECT_EQ(window->programEnds, 0);
    EXPECT_TRUE(window->state().writing);

    platform.answerNextSaveDialog(at(QStringLiteral("kept.txt")));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->programEnds, 1);
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("kept.txt"))));
}

TEST_F(DocumentsTest, ShutDownComparesEncryptedDocumentsDecrypted) {
    const QString path = at(QStringLiteral("g.pxt"));
    writeFile(path, QByteArray::fromStdString(cipher::encrypt(toGbk(QStringLiteral("加密")), kFixedKey)));
    answerPassword(QString());
    window->dropFile(path);
    EXPECT_EQ(editorText(), QStringLiteral("加密"));
    typeAtEnd(QStringLiteral("了"));
    // Changed: the overwrite question, then the password window with the same (empty) password.
    platform.answerNextMessage(Answer::Yes, kOverwrite);
    answerPassword(QString());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->programEnds, 1);
    EXPECT_EQ(readFile(path).toStdString(), cipher::encrypt(toGbk(QStringLiteral("加密了")), kFixedKey));
}

}  // namespace
}  // namespace penvox::testing
