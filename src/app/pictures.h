#pragma once
// The program's built-in pictures, drawn from the vector images compiled into
// the executable (no image plug-in needed).
#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace penvox::pictures {

QPixmap pixmap(const QString& name, QSize size);  // name: "pen", "floppy", "start", "microphone", "penvox"
QIcon programIcon();

}  // namespace penvox::pictures
