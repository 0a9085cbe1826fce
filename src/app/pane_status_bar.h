#pragma once
// The status bar: a row of text panes addressed by index from 0
// (0 the character count, 1 the writing clock and results, 2 the tips).
#include <QLabel>
#include <QList>
#include <QWidget>

namespace penvox {

class PaneStatusBar : public QWidget {
    Q_OBJECT
public:
    PaneStatusBar(const QString& objectName, int paneCount, QWidget* parent);

    int paneCount() const { return static_cast<int>(panes_.size()); }
    QString paneText(int index) const;
    void setPaneText(int index, const QString& text);
    int paneWidth(int index) const;
    void setPaneWidth(int index, int width);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrangePanes();
    QList<QLabel*> panes_;
    QList<int> widths_;
};

}  // namespace penvox
