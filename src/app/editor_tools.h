#pragma once
// What the companion windows (find, replace, schedule entry, shopping item)
// need of the main window: the program-wide state, the editor seen as GBK
// bytes, and the shared insert-at-caret in its two halves.
#include "app/app_state.h"
#include "app/editor_adapter.h"

#include <cstddef>
#include <functional>
#include <string>

class QPlainTextEdit;
class QWidget;

namespace penvox {

struct EditorTools {
    AppState& state;
    EditorAdapter& editor;
    QPlainTextEdit* editorBox;
    QWidget* mainWindow;
    // Splices GBK text in at the selection start (a selection stays behind it)
    // and returns the byte offset behind the inserted text.
    std::function<std::size_t(const std::string& gbkText)> splice;
    // Gives the editor the focus and puts the caret at a byte offset.
    std::function<void(std::size_t offset)> placeCaret;
};

}  // namespace penvox
