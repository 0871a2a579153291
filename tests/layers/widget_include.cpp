// Must not compile as core code.
#include <QWidget>
