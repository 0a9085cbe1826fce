// The editor seen as GBK bytes with CR LF breaks and byte offsets.
#include "app/editor_adapter.h"
#include "app/gbk_text.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace penvox {
namespace {

std::string bytes(const QString& text) { return toGbk(text); }

TEST(EditorAdapter, TextComesOutAsGbkWithCrLfBreaks) {
    QPlainTextEdit edit;
    EditorAdapter editor(&edit);
    editor.setUnicodeText(QStringLiteral("你好\r\nab\r\n"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("你好\nab\n"));
    EXPECT_EQ(editor.text(), std::string("\xC4\xE3\xBA\xC3\r\nab\r\n"));
    editor.setText("x\r\n\xD6\xD0");
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("x\n中"));
    EXPECT_EQ(editor.unicodeText(), QStringLiteral("x\r\n中"));
}

TEST(EditorAdapter, SelectionIsInBytes) {
    QPlainTextEdit edit;
    EditorAdapter editor(&edit);
    editor.setUnicodeText(QStringLiteral("中a\r\n文😀b"));
    // 中 0-1, a 2, break 3-4, 文 5-6, 😀 7-10, b 11.
    struct Case {
        std::size_t start, length;        // asked, in bytes
        std::size_t gotStart, gotLength;  // read back
    } cases[] = {
        {0, 2, 0, 2},
        {2, 1, 2, 1},
        {3, 4, 3, 4},     // the break weighs two bytes
        {7, 4, 7, 4},     // beyond GBK: four bytes
        {5, 4, 5, 2},     // the end inside 😀 moves back to its start
        {1, 1, 0, 2},     // the start inside 中 moves back to its start
        {12, 100, 12, 0}, // past the end
    };
    for (const Case& c : cases) {
        editor.setSelection(c.start, c.length);
        EXPECT_EQ(editor.selectionStart(), c.gotStart) << c.start;
        EXPECT_EQ(editor.selectionLength(), c.gotLength) << c.start;
    }
    editor.setSelection(7, 4);
    EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("😀"));
    EXPECT_EQ(bytes(QStringLiteral("😀")).size(), 4u);
}

}  // namespace
}  // namespace penvox
