// Opening the editor's companion windows: find and replace, the schedule
// entry and the shopping item windows. Each decides on opening whether it
// stays (an open one is brought to the front instead of a second).
#include "app/find_window.h"
#include "app/main_window.h"
#include "app/replace_window.h"
#include "app/schedule_window.h"
#include "app/shopping_window.h"

namespace penvox {

void MainWindow::openFindWindow() { FindWindow::open(editorTools(), searchMemory_); }

void MainWindow::openReplaceWindow() { ReplaceWindow::open(editorTools(), searchMemory_); }

void MainWindow::openScheduleWindow() { ScheduleWindow::open(editorTools(), this); }

void MainWindow::openShoppingWindow() { ShoppingWindow::open(editorTools(), this); }

}  // namespace penvox
