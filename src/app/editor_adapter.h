#pragma once
// The editor as the program sees it: GBK text with CR LF breaks, and the
// selection as byte offsets. The QPlainTextEdit underneath holds Unicode with
// one "\n" per paragraph break; this is the only place that translates.
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace penvox {

class EditorAdapter {
public:
    explicit EditorAdapter(QPlainTextEdit* editor) : editor_(editor) {}

    // The program's view of the text: GBK bytes, each break CR LF.
    std::string text() const;
    void setText(std::string_view gbkText);
    // The same in Unicode, breaks as CR LF.
    QString unicodeText() const;
    void setUnicodeText(const QString& text);

    std::size_t selectionStart() const;   // bytes from the start
    std::size_t selectionLength() const;  // bytes
    // Selects `length` bytes from `start`; offsets inside a character or a
    // break move back to its start, offsets past the end stop at the end.
    void setSelection(std::size_t start, std::size_t length);

    // Editor text ("\n" breaks) <-> program text (CR LF breaks; a lone CR or
    // LF is also a break).
    static QString toProgramBreaks(const QString& editorText);
    static QString toEditorBreaks(const QString& programText);

private:
    QPlainTextEdit* editor_;
};

}  // namespace penvox
