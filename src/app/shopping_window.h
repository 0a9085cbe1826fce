#pragma once
// The shopping item window "添加一个购物项目v1.1": builds one shopping-list
// item line with its estimated price, or a total line over the prices already
// in the editor, splices it in at the caret and closes. A new window on each
// opening, destroyed when it closes.
#include "app/editor_tools.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace penvox {

class ShoppingWindow : public QWidget {
    Q_OBJECT
public:
    // A child window of `parent`, deleted when closed; not shown yet.
    ShoppingWindow(EditorTools tools, QWidget* parent);

    // The open request. An open shopping window is activated. Outside the
    // shopping-list kind nothing opens, silently (nullptr); otherwise a new
    // window opens with the name box focused.
    static ShoppingWindow* open(EditorTools tools, QWidget* parent);

    // "添加清单".
    void addItem();
    // "计算总价格".
    void addTotal();

private:
    bool stillWriting();
    // Splices the line in, closes the window and puts the caret behind the line.
    void insertAndClose(const std::string& utf8Line);

    EditorTools tools_;
    QLineEdit* nameBox_ = nullptr;
    QLineEdit* unitPriceBox_ = nullptr;
    QLineEdit* quantityBox_ = nullptr;
    QCheckBox* lineBreak_ = nullptr;
};

}  // namespace penvox
