#pragma once
// The schedule entry window "添加一个日程": builds one dated, timed schedule
// line, splices it in at the editor's caret, records the day in the settings
// and closes. A new window on each opening, destroyed when it closes.
#include "app/editor_tools.h"

#include <QObject>
#include <QString>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace penvox {

// Brings the open companion window of `parent` with this object name to the
// front and returns it; nullptr when there is none. A window that was closed
// stays hidden until its deletion comes round, so only a visible one counts.
QWidget* activateOpenWindow(QWidget* parent, const QString& objectName);

// What the small number boxes of the entry windows do besides editing:
// characters typed (as keys or as an input method's committed text) that are
// not in `allowed` are dropped, while pasted text goes in as it is; with
// `clearOnPress` a left mouse press empties the box; with `clearOnFocus` the
// box empties whenever it is given the focus (but not when its window merely
// becomes active again, which would throw away what was typed before).
class EntryBoxFilter : public QObject {
    Q_OBJECT
public:
    struct Rules {
        QString allowed;  // empty: everything may be typed
        bool clearOnPress = false;
        bool clearOnFocus = false;
    };
    EntryBoxFilter(QLineEdit* box, Rules rules);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool typable(QChar ch) const;
    QLineEdit* box_;
    Rules rules_;
};

class ScheduleWindow : public QWidget {
    Q_OBJECT
public:
    // A child window of `parent`, deleted when closed; not shown yet.
    ScheduleWindow(EditorTools tools, QWidget* parent);

    // The open request. An open schedule window is activated. Otherwise, when
    // no writing is going on, it says so and opens nothing (nullptr); else a
    // new window opens, noting when the text is not a schedule.
    static ScheduleWindow* open(EditorTools tools, QWidget* parent);

    // "添加日程".
    void addEntry();

private:
    EditorTools tools_;
    QDateEdit* dateBox_ = nullptr;
    QLineEdit* hourBox_ = nullptr;
    QLineEdit* minuteBox_ = nullptr;
    QLineEdit* contentBox_ = nullptr;
    QCheckBox* lineBreak_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace penvox
