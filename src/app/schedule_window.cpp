#include "app/schedule_window.h"

#include "app/gbk_text.h"
#include "app/texts.h"
#include "core/entry_lines.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace penvox {

namespace {

const QString kNotWriting = QStringLiteral("还没有开始书写呢");

}  // namespace

QWidget* activateOpenWindow(QWidget* parent, const QString& objectName) {
    for (QWidget* window : parent->findChildren<QWidget*>(objectName, Qt::FindDirectChildrenOnly)) {
        if (!window->isWindow() || !window->isVisible()) continue;
        if (window->isMinimized()) window->showNormal();
        window->raise();
        window->activateWindow();
        return window;
    }
    return nullptr;
}

EntryBoxFilter::EntryBoxFilter(QLineEdit* box, Rules rules) : QObject(box), box_(box), rules_(std::move(rules)) {
    box->installEventFilter(this);
}

bool EntryBoxFilter::typable(QChar ch) const {
    return rules_.allowed.isEmpty() || !ch.isPrint() || rules_.allowed.contains(ch);
}

bool EntryBoxFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Shortcuts such as Ctrl+V carry no printable text and pass.
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        for (const QChar ch : typed)
            if (!typable(ch)) return true;
        return false;
    }
    case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        QString kept;
        for (const QChar ch : input->commitString())
            if (typable(ch)) kept += ch;
        if (kept != input->commitString())
            input->setCommitString(kept, input->replacementStart(), input->replacementLength());
        return false;
    }
    case QEvent::MouseButtonPress:
        if (rules_.clearOnPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) box_->clear();
        return false;
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (rules_.clearOnFocus && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            box_->clear();
        return false;
    }
    default:
        return false;
    }
}

ScheduleWindow::ScheduleWindow(EditorTools tools, QWidget* parent)
    : QWidget(parent, Qt::Window), tools_(std::move(tools)) {
    setObjectName(QStringLiteral("添加一个日程"));
    setWindowTitle(QStringLiteral("添加一个日程"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(267, 217);

    const auto label = [this](const QString& name, const QString& text, QRect place) {
        auto* result = new QLabel(text, this);
        result->setObjectName(name);
        result->setGeometry(place);
        return result;
    };
    const auto box = [this](const QString& name, QRect place) {
        auto* result = new QLineEdit(this);
        result->setObjectName(name);
        result->setGeometry(place);
        return result;
    };

    label(QStringLiteral("透明标签1"), QStringLiteral("选择日期："), {8, 16, 64, 24});
    const LocalDateTime now = tools_.state.platform.now();
    dateBox_ = new QDateEdit(QDate(now.year, now.month, now.day), this);
    dateBox_->setObjectName(QStringLiteral("日期框1"));
    dateBox_->setGeometry(72, 17, 168, 24);
    dateBox_->setCalendarPopup(true);
    dateBox_->setDisplayFormat(QStringLiteral("yyyy年M月d日"));

    label(QStringLiteral("透明标签2"), QStringLiteral("输入时间："), {8, 59, 64, 24});
    hourBox_ = box(QStringLiteral("编辑框1"), {72, 60, 48, 24});
    label(QStringLiteral("透明标签3"), QStringLiteral("时"), {123, 60, 16, 24});
    minuteBox_ = box(QStringLiteral("编辑框2"), {144, 60, 48, 24});
    label(QStringLiteral("透明标签4"), QStringLiteral("分"), {195, 60, 16, 24});
    label(QStringLiteral("透明标签5"), QStringLiteral("日程内容："), {8, 90, 64, 24});
    lineBreak_ = new QCheckBox(QStringLiteral("添加换行符"), this);
    lineBreak_->setObjectName(QStringLiteral("自动换行"));
    lineBreak_->setGeometry(176, 88, 80, 24);
    lineBreak_->setChecked(true);
    contentBox_ = box(QStringLiteral("编辑框3"), {8, 115, 192, 24});
    auto* addButton = new QPushButton(QStringLiteral("添加日程"), this);
    addButton->setObjectName(QStringLiteral("开始书写按钮"));
    addButton->setGeometry(202, 114, 56, 24);
    note_ = label(QStringLiteral("透明标签6"), QStringLiteral("请输入以上内容来创建一个日程条目"), {8, 152, 248, 24});

    hourBox_->setInputMethodHints(Qt::ImhPreferNumbers);
    new EntryBoxFilter(hourBox_, {QStringLiteral("0123456789-"), true, false});
    new EntryBoxFilter(minuteBox_, {QString(), true, false});

    connect(contentBox_, &QLineEdit::returnPressed, this, &ScheduleWindow::addEntry);
    connect(addButton, &QPushButton::clicked, this, &ScheduleWindow::addEntry);
}

ScheduleWindow* ScheduleWindow::open(EditorTools tools, QWidget* parent) {
    if (auto* open = qobject_cast<ScheduleWindow*>(activateOpenWindow(parent, QStringLiteral("添加一个日程"))))
        return open;
    if (!tools.editorBox->isEnabled()) {
        tools.state.platform.messageBox(parent, texts::kProgramTitle, kNotWriting);
        return nullptr;
    }
    const bool schedule = tools.state.scheduleModeFlag != 0;
    auto* window = new ScheduleWindow(std::move(tools), parent);
    if (!schedule) window->note_->setText(QStringLiteral("目前不是日程书写状态，您也可以添加清单"));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ScheduleWindow::addEntry() {
    // Writing may have ended while the window stood open: the line would go
    // into the idle editor and be lost, so nothing happens and the window stays.
    if (!tools_.editorBox->isEnabled()) {
        tools_.state.platform.messageBox(this, texts::kProgramTitle, kNotWriting);
        return;
    }
    if (hourBox_->text().isEmpty()) hourBox_->setText(QStringLiteral("*"));
    if (minuteBox_->text().isEmpty()) minuteBox_->setText(QStringLiteral("*"));
    const QDate date = dateBox_->date();
    const std::string line =
        entries::scheduleLine(lineBreak_->isChecked(), date.year(), date.month(), date.day(),
                              hourBox_->text().toStdString(), minuteBox_->text().toStdString(),
                              contentBox_->text().toStdString());
    // The window is gone once closed: what comes after works on a copy.
    const EditorTools tools = tools_;
    const std::size_t behind = tools.splice(toGbk(QString::fromStdString(line)));
    tools.state.settings.write(QStringLiteral("软件设置"), QStringLiteral("time"), tools.state.todayStamp());
    close();
    tools.placeCaret(behind);
}

}  // namespace penvox
