#pragma once
// The colour picker control: shows its colour and reports changes. The value
// is the settings file's colour integer (R + 256*G + 65536*B).
#include <QPushButton>

namespace penvox {

class ColourPicker : public QPushButton {
    Q_OBJECT
public:
    ColourPicker(const QString& objectName, QWidget* parent);

    long long colour() const { return colour_; }
    // Sets the colour and raises `changed` when it differs.
    void setColour(long long value);

signals:
    void changed(long long value);

private:
    void repaintSwatch();
    long long colour_ = 0;
};

}  // namespace penvox
