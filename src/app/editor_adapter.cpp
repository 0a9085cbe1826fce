#include "app/editor_adapter.h"

#include "app/gbk_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <cstdint>

namespace penvox {

QString EditorAdapter::toProgramBreaks(const QString& editorText) {
    QString result = editorText;
    result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return result;
}

QString EditorAdapter::toEditorBreaks(const QString& programText) {
    QString result = programText;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::string EditorAdapter::text() const { return toGbk(unicodeText()); }

void EditorAdapter::setText(std::string_view gbkText) { setUnicodeText(fromGbk(gbkText)); }

QString EditorAdapter::unicodeText() const { return toProgramBreaks(editor_->toPlainText()); }

void EditorAdapter::setUnicodeText(const QString& text) { editor_->setPlainText(toEditorBreaks(text)); }

std::size_t EditorAdapter::selectionStart() const {
    const QTextCursor cursor = editor_->textCursor();
    return gbk::editorByteOffset(utf16Of(editor_->toPlainText()), static_cast<std::size_t>(cursor.selectionStart()));
}

std::size_t EditorAdapter::selectionLength() const {
    const QTextCursor cursor = editor_->textCursor();
    const QString plain = editor_->toPlainText();
    const auto view = utf16Of(plain);
    return gbk::editorByteOffset(view, static_cast<std::size_t>(cursor.selectionEnd())) -
           gbk::editorByteOffset(view, static_cast<std::size_t>(cursor.selectionStart()));
}

void EditorAdapter::setSelection(std::size_t start, std::size_t length) {
    const QString plain = editor_->toPlainText();
    const auto view = utf16Of(plain);
    const std::size_t from = gbk::editorIndexOfByte(view, start);
    const std::size_t end = length > SIZE_MAX - start ? SIZE_MAX : start + length;
    const std::size_t to = gbk::editorIndexOfByte(view, end);
    QTextCursor cursor = editor_->textCursor();
    cursor.setPosition(static_cast<int>(from));
    cursor.setPosition(static_cast<int>(std::max(from, to)), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
}

}  // namespace penvox
