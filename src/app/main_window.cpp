#include "app/main_window.h"

#include "app/frame_label.h"
#include "app/pane_status_bar.h"
#include "app/pictures.h"
#include "app/settings_panel.h"
#include "app/stats_window.h"
#include "app/texts.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace penvox {

MainWindow::MainWindow(Platform& platform, const RunPlaces& places)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), state_(platform, places) {
    setObjectName(QStringLiteral("窗口"));
    setWindowIcon(pictures::programIcon());
    setMinimumSize(400, 400);
    setGeometry(50, 50, 1118, 839);
    buildDesign();
    connectFrame();
    connectWriting();
    routeDrops();
    connectEditorTools();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildDesign() {
    const auto frameLabel = [this](const char16_t* name, const QString& text, int x, int y, int w, int h) {
        auto* label = new FrameLabel(QString::fromUtf16(name), text, this);
        label->setGeometry(x, y, w, h);
        return label;
    };

    // The header picture lies under everything else.
    headerPicture = new QLabel(this);
    headerPicture->setObjectName(QStringLiteral("背景"));
    headerPicture->setGeometry(0, 0, 1120, 64);
    headerPicture->setScaledContents(true);

    captionLabel = frameLabel(u"标题栏", texts::kCaption, 9, 0, 1031, 32);
    closeLabel = frameLabel(u"关闭按钮", QStringLiteral("×"), 1094, 6, 24, 24);
    minimiseLabel = frameLabel(u"最小化按钮1", QStringLiteral("__"), 1070, 3, 16, 24);
    QFont closeFont = closeLabel->font();
    closeFont.setPointSize(closeFont.pointSize() + 4);
    closeLabel->setFont(closeFont);

    gripTopLeft = frameLabel(u"左上调节器", {}, 0, 0, 8, 8);
    gripTop = frameLabel(u"上调节器", {}, 8, -8, 1112, 5);
    gripTopRight = frameLabel(u"右上调节器", {}, 1111, 0, 8, 8);
    gripLeft = frameLabel(u"左侧调节器", {}, 0, 24, 5, 816);
    gripRight = frameLabel(u"右调节器", {}, 1112, 0, 8, 824);
    gripBottomLeft = frameLabel(u"左下调节器", {}, 0, 829, 8, 8);
    gripBottom = frameLabel(u"下调节器", {}, 16, 832, 1104, 5);
    gripBottomRight = frameLabel(u"右下调节器", {}, 1110, 829, 8, 8);

    startButton = frameLabel(u"开始按钮", {}, 6, 36, 24, 24);
    startButton->setPixmap(pictures::pixmap(QStringLiteral("start"), QSize(24, 24)));
    titlePrompt = frameLabel(u"章节名称提示", texts::kTitlePrompt, 37, 32, 71, 32);
    titleBox = new QLineEdit(this);
    titleBox->setObjectName(QStringLiteral("章节名称"));
    titleBox->setGeometry(104, 36, 944, 24);
    writingButton = frameLabel(u"书写", {}, 1057, 37, 24, 24);
    writingButton->setScaledContents(true);
    recordButton = frameLabel(u"录音按钮", {}, 1089, 36, 24, 24);
    recordButton->setPixmap(pictures::pixmap(QStringLiteral("microphone"), QSize(24, 24)));

    editorBox = new QPlainTextEdit(this);
    editorBox->setObjectName(QStringLiteral("编辑框1"));
    editorBox->setGeometry(2, 64, 990, 743);
    QFont editorFont = editorBox->font();
    editorFont.setPixelSize(16);
    editorBox->setFont(editorFont);
    editorAdapter_ = EditorAdapter(editorBox);
    editorAdapter_.setUnicodeText(texts::greeting());
    editorBox->setEnabled(false);

    statusBar = new PaneStatusBar(QStringLiteral("状态条1"), 3, this);
    statusBar->setGeometry(8, 756, 1113, 24);

    // The button that starts writing and, while writing, saves it. It stands
    // at the right of the caption row, before the minimise label.
    startWritingButton = new QPushButton(QStringLiteral("开始书写"), this);
    startWritingButton->setObjectName(QStringLiteral("开始书写按钮"));
    startWritingButton->setGeometry(1118 - 126, 4, 72, 24);
    startWritingButton->setContextMenuPolicy(Qt::CustomContextMenu);
    startWritingButton->setFocusPolicy(Qt::NoFocus);

    tipTimer = new QTimer(this);
    tipTimer->setObjectName(QStringLiteral("时钟1"));

    hotKeyLabel = new QLabel(this);
    hotKeyLabel->setObjectName(QStringLiteral("标签1"));
    hotKeyLabel->hide();

    panel_ = new SettingsPanel(this);
    menus_ = std::make_unique<StartMenus>(this);
    stats_ = std::make_unique<StatsWindow>();
}

}  // namespace penvox
