#pragma once
// The find window "查找": searches the editor downward or upward from the
// selection, never wrapping around. It is created on the first open request
// and from then on only hidden and shown again, so its direction and
// match-case boxes keep their state for the whole run.
#include "app/editor_tools.h"
#include "app/search_memory.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace penvox {

// One find-next over the editor: searches `text` (taken as GBK bytes) down
// from the end of the selection or up before its start, selects the match,
// or reports it missing in a message box titled `messageTitle` (over
// `parent`) and puts the caret at the end (down) or the start (up).
// Returns whether it found a match.
bool findNextInEditor(EditorTools& tools, QWidget* parent, const QString& text, bool down, bool matchCase,
                      const QString& messageTitle);

class FindWindow : public QWidget {
    Q_OBJECT
public:
    // A child window of tools.mainWindow; not shown yet.
    FindWindow(EditorTools tools, SearchMemory& memory);

    // The open request: the last search text in the box, selected; the window
    // shown, raised and activated.
    void reopen();
    // The window of tools.mainWindow, created on the first call; reopened.
    static FindWindow* open(EditorTools tools, SearchMemory& memory);

    void findNext();
    // Back to the last searched text, then hidden.
    void cancel();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillFindBox();

    EditorTools tools_;
    SearchMemory& memory_;
    QLineEdit* findBox_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QRadioButton* upward_ = nullptr;
    QRadioButton* downward_ = nullptr;
    QPushButton* findButton_ = nullptr;
};

}  // namespace penvox
