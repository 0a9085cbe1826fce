#pragma once
// The replace window "替换": finds downward, replaces the selection, or
// replaces every occurrence at once. A new window on each opening, destroyed
// when it closes.
#include "app/editor_tools.h"
#include "app/search_memory.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace penvox {

class ReplaceWindow : public QWidget {
    Q_OBJECT
public:
    // A child window of tools.mainWindow, deleted when closed; not shown yet.
    ReplaceWindow(EditorTools tools, SearchMemory& memory);

    // The open request: activates the open replace window of
    // tools.mainWindow, or creates and shows a new one.
    static ReplaceWindow* open(EditorTools tools, SearchMemory& memory);

    void findNext();
    void replace();
    void replaceAll();

private:
    EditorTools tools_;
    SearchMemory& memory_;
    QLineEdit* findBox_ = nullptr;
    QLineEdit* replacementBox_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    QPushButton* replaceAllButton_ = nullptr;
};

}  // namespace penvox
